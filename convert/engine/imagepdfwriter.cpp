#include "imagepdfwriter.h"

#include <QDateTime>
#include <QTransform>

namespace {

constexpr int catalogObject = 1;
constexpr int pagesObject = 2;
constexpr int infoObject = 3;

QByteArray reference(int object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray imageDictionary(const QSize &size, int components)
{
    return "/Type /XObject /Subtype /Image /Width " + QByteArray::number(size.width()) + " /Height " +
           QByteArray::number(size.height()) + (components == 1 ? " /ColorSpace /DeviceGray" : " /ColorSpace /DeviceRGB") +
           " /BitsPerComponent 8";
}

// Maps the stored pixels of a `size` picture onto its upright place, in the
// order Qt's reader applies a stored orientation: mirror, flip, then a
// quarter turn clockwise.
QTransform uprightTransform(const QSize &size, QImageIOHandler::Transformations orientation)
{
    QTransform t;
    if (orientation & QImageIOHandler::TransformationMirror)
        t *= QTransform(-1, 0, 0, 1, size.width(), 0);
    if (orientation & QImageIOHandler::TransformationFlip)
        t *= QTransform(1, 0, 0, -1, 0, size.height());
    if (orientation & QImageIOHandler::TransformationRotate90)
        t *= QTransform(0, 1, -1, 0, size.height(), 0);
    return t;
}

} // namespace

ImagePdfWriter::ImagePdfWriter(QIODevice &device, const QPageLayout &layout, int dpi)
    : m_device(device)
    , m_points(layout.fullRectPoints())
    , m_dpi(dpi)
{
    m_offsets.resize(infoObject);
    write("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n");
    beginObject(catalogObject);
    write("<< /Type /Catalog /Pages " + reference(pagesObject) + " >>\nendobj\n");
    beginObject(infoObject);
    write("<< /Producer (Folioforge) /CreationDate (D:" +
          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z) >>\nendobj\n");
}

void ImagePdfWriter::addPage(const PageStream &page, const QPoint &topLeft)
{
    QByteArray resources;
    QByteArray content;
    if (!page.size.isEmpty() && !page.dct.isEmpty()) {
        QByteArray mask;
        if (!page.alpha.isEmpty()) {
            const int alpha = newObject();
            beginObject(alpha);
            writeStream(imageDictionary(page.size, 1) + " /Filter /FlateDecode", page.alpha);
            mask = " /SMask " + reference(alpha);
        }
        const int image = newObject();
        beginObject(image);
        writeStream(imageDictionary(page.size, page.components) + " /Filter /DCTDecode" + mask, page.dct);
        resources = "/XObject << /Im0 " + reference(image) + " >> ";
        content = placement(page, topLeft);
    }
    const int contents = newObject();
    beginObject(contents);
    writeStream(QByteArray(), content);
    const int dictionary = newObject();
    beginObject(dictionary);
    write("<< /Type /Page /Parent " + reference(pagesObject) + " /MediaBox [0 0 " +
          QByteArray::number(m_points.width()) + ' ' + QByteArray::number(m_points.height()) + "] /Resources << " +
          resources + ">> /Contents " + reference(contents) + " >>\nendobj\n");
    m_pages.append(dictionary);
}

// Device pixels become points with the y axis pointing down from the page's
// top edge; the picture's stored pixels are turned upright into its place;
// the unit square of the image is stretched over the stored pixels.
QByteArray ImagePdfWriter::placement(const PageStream &page, const QPoint &topLeft) const
{
    const QByteArray scale = QByteArray::number(72.0 / m_dpi, 'f', 9);
    const int w = page.size.width();
    const int h = page.size.height();
    QByteArray content = "q\n" + scale + " 0 0 -" + scale + " 0 " + QByteArray::number(m_points.height()) +
                         " cm\n1 0 0 1 " + QByteArray::number(topLeft.x()) + ' ' + QByteArray::number(topLeft.y()) +
                         " cm\n";
    const QTransform upright = uprightTransform(page.size, page.orientation);
    if (!upright.isIdentity())
        content += QByteArray::number(upright.m11()) + ' ' + QByteArray::number(upright.m12()) + ' ' +
                   QByteArray::number(upright.m21()) + ' ' + QByteArray::number(upright.m22()) + ' ' +
                   QByteArray::number(upright.dx()) + ' ' + QByteArray::number(upright.dy()) + " cm\n";
    return content + QByteArray::number(w) + " 0 0 -" + QByteArray::number(h) + " 0 " + QByteArray::number(h) +
           " cm\n/Im0 Do\nQ\n";
}

bool ImagePdfWriter::finish()
{
    beginObject(pagesObject);
    QByteArray kids;
    for (int page : std::as_const(m_pages))
        kids += reference(page) + ' ';
    write("<< /Type /Pages /Count " + QByteArray::number(m_pages.size()) + " /Kids [ " + kids + "] >>\nendobj\n");
    const qint64 table = m_written;
    write("xref\n0 " + QByteArray::number(m_offsets.size() + 1) + "\n0000000000 65535 f \n");
    for (qint64 offset : std::as_const(m_offsets))
        write(QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n");
    write("trailer\n<< /Size " + QByteArray::number(m_offsets.size() + 1) + " /Root " + reference(catalogObject) +
          " /Info " + reference(infoObject) + " >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n");
    return m_ok;
}

int ImagePdfWriter::newObject()
{
    m_offsets.append(0);
    return int(m_offsets.size());
}

void ImagePdfWriter::beginObject(int number)
{
    m_offsets[number - 1] = m_written;
    write(QByteArray::number(number) + " 0 obj\n");
}

void ImagePdfWriter::writeStream(const QByteArray &dictionary, const QByteArray &data)
{
    write("<< " + dictionary + (dictionary.isEmpty() ? "" : " ") + "/Length " + QByteArray::number(data.size()) +
          " >>\nstream\n");
    write(data);
    write("\nendstream\nendobj\n");
}

void ImagePdfWriter::write(const QByteArray &bytes)
{
    if (m_device.write(bytes) != bytes.size())
        m_ok = false;
    m_written += bytes.size();
}
