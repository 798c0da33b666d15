#include "imageformatsplugin.h"

#include "avifhandler.h"
#include "heifhandler.h"
#include "jxlhandler.h"
#include "tiffhandler.h"

#include <libheif/heif.h>

namespace {

// The format a device holds judged by its first bytes: the name of one of our
// formats, or empty.
QByteArray detectFormat(QIODevice *device)
{
    if (!device || !device->isOpen() || !device->isReadable())
        return {};
    if (JxlHandler::canRead(device))
        return "jxl";
    return HeifHandler::formatOf(device);
}

} // namespace

ImageFormatsPlugin::ImageFormatsPlugin(QObject *parent)
    : QImageIOPlugin(parent)
{
    // Registers libheif's codecs once, before any handler of any thread uses them.
    heif_init(nullptr);
}

ImageFormatsPlugin::~ImageFormatsPlugin()
{
    heif_deinit();
}

QImageIOPlugin::Capabilities ImageFormatsPlugin::capabilities(QIODevice *device, const QByteArray &format) const
{
    if (HeifHandler::isHeifFormat(format))
        return HeifHandler::canWrite(format) ? Capabilities(CanRead | CanWrite) : Capabilities(CanRead);
    if (format == "jxl")
        return Capabilities(CanRead | CanWrite);
    if (format == TiffHandler::formatName)
        return Capabilities(CanRead);
    if (format.isEmpty() && !detectFormat(device).isEmpty())
        return Capabilities(CanRead);
    return {};
}

QImageIOHandler *ImageFormatsPlugin::create(QIODevice *device, const QByteArray &format) const
{
    // Qt hands over the file's suffix even when it picked us by content.
    const bool ours = format == "jxl" || format == TiffHandler::formatName || HeifHandler::isHeifFormat(format);
    const QByteArray chosen = ours ? format : detectFormat(device);
    QImageIOHandler *handler = nullptr;
    if (chosen == "jxl")
        handler = new JxlHandler;
    else if (chosen == TiffHandler::formatName)
        handler = new TiffHandler;
    else if (chosen == "avif")
        handler = new AvifHandler;
    else
        handler = new HeifHandler;
    handler->setDevice(device);
    handler->setFormat(chosen);
    return handler;
}
