#pragma once

#include <QImageIOPlugin>

// Reads and writes the formats Qt has no plug-in for, through the libraries made
// for them: libheif for HEIC, HEIF and AVIF (libavif reads AVIF), libjxl for JPEG XL; and reads
// TIFF through libtiff for GuardedImageReader. Built in statically and
// imported by the shell, so every image reader of the program knows these
// formats.
class ImageFormatsPlugin : public QImageIOPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "imageformats.json")
public:
    explicit ImageFormatsPlugin(QObject *parent = nullptr);
    ~ImageFormatsPlugin() override;

    Capabilities capabilities(QIODevice *device, const QByteArray &format) const override;
    QImageIOHandler *create(QIODevice *device, const QByteArray &format = QByteArray()) const override;
};
