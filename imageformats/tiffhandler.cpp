#include "tiffhandler.h"

#include "imageguard.h"

#include <QImageReader>
#include <QVariant>

bool TiffHandler::canRead() const
{
    return device() && ImageGuard::isTiff(device());
}

TiffFile *TiffHandler::file() const
{
    if (!m_file && canRead())
        m_file = std::make_unique<TiffFile>(device(), qint64(QImageReader::allocationLimit()) * 1024 * 1024);
    return m_file && m_file->isOpen() ? m_file.get() : nullptr;
}

bool TiffHandler::read(QImage *image)
{
    TiffFile *tiff = file();
    return tiff && tiff->read(image);
}

bool TiffHandler::supportsOption(ImageOption option) const
{
    return option == Size || option == ImageTransformation;
}

QVariant TiffHandler::option(ImageOption option) const
{
    TiffFile *tiff = file();
    if (!tiff)
        return {};
    if (option == Size)
        return tiff->size();
    if (option == ImageTransformation)
        return int(tiff->transformation());
    return {};
}
