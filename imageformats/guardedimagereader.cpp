#include "guardedimagereader.h"

#include "tiffhandler.h"

#include <QFileInfo>
#include <QImageReader>

GuardedImageReader::GuardedImageReader(const QString &path, int limitMB)
    : m_file(path)
    , m_limit(qint64(limitMB) * 1024 * 1024)
{
    if (!QFileInfo(path).isFile() || !m_file.open(QIODevice::ReadOnly))
        return;
    if (refuse(ImageGuard::inspect(&m_file, m_limit)))
        return;
    m_tiff = ImageGuard::isTiff(&m_file);
    // Qt's reader enforces the same limit on what it allocates itself.
    QImageReader::setAllocationLimit(limitMB);
    m_reader = std::make_unique<QImageReader>(&m_file, m_tiff ? QByteArray(TiffHandler::formatName) : QByteArray());
    // Asked now, while the device is at its start: some handlers judge the
    // format from the first bytes and could not tell it after a size() read.
    m_format = m_tiff ? QByteArray("tiff") : m_reader->format();
}

GuardedImageReader::~GuardedImageReader() = default;

bool GuardedImageReader::refuse(const ImageGuard::Verdict &verdict)
{
    if (verdict.accepted())
        return false;
    m_failure = verdict.reason();
    m_reader.reset();
    return true;
}

QSize GuardedImageReader::size()
{
    if (!m_reader)
        return {};
    const QSize stored = m_reader->size();
    // Formats the guard does not walk (HEIF, JPEG XL) are held to the limit here.
    if (stored.isValid() && refuse(ImageGuard::checkPixels(stored, 4, m_limit)))
        return {};
    return stored;
}

QByteArray GuardedImageReader::format()
{
    if (!m_reader)
        return {};
    return m_format;
}

QImageIOHandler::Transformations GuardedImageReader::transformation()
{
    return m_reader ? m_reader->transformation() : QImageIOHandler::TransformationNone;
}

void GuardedImageReader::setAutoTransform(bool enabled)
{
    if (m_reader)
        m_reader->setAutoTransform(enabled);
}

void GuardedImageReader::setScaledSize(const QSize &size)
{
    if (m_reader)
        m_reader->setScaledSize(size);
}

bool GuardedImageReader::read(QImage *image)
{
    if (!m_reader)
        return false;
    size();
    if (!m_reader)
        return false;
    if (m_reader->read(image))
        return true;
    m_failure = m_reader->error() == QImageReader::UnsupportedFormatError ? QString() : QStringLiteral("damaged");
    return false;
}
