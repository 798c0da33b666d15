#include "testpdf.h"

#include <QFile>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace TestPdf {

bool write(const QString &path, const QList<QSizeF> &pageSizes)
{
    if (pageSizes.isEmpty())
        return false;
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(pageSizes.first(), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pageSizes.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(pageSizes.at(i), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.newPage();
        }
        const QSizeF size = pageSizes.at(i);
        painter.fillRect(QRectF(10, 10, size.width() / 4, size.width() / 4), Qt::red);
        QFont font = painter.font();
        font.setPixelSize(int(size.height() / 6));
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, size.height() / 3, size.width(), size.height() / 3), Qt::AlignCenter,
                         QString::number(i + 1));
    }
    return painter.end();
}

bool writeA4(const QString &path, int pageCount)
{
    return write(path, QList<QSizeF>(pageCount, a4Portrait));
}

QByteArray fromObjects(const QByteArray &version, const QList<QByteArray> &objects, const QByteArray &trailerEntries)
{
    QByteArray pdf = "%PDF-" + version + "\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R" + trailerEntries +
           " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

bool writeLoopingPageTree(const QString &path)
{
    const QByteArray pdf = fromObjects("1.4", {
                                                  "<< /Type /Catalog /Pages 2 0 R >>",
                                                  "<< /Type /Pages /Kids [2 0 R 3 0 R] /Count 2 >>",
                                                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>",
                                              });
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size();
}

} // namespace TestPdf
