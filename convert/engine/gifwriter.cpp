#include "gifwriter.h"

#include <gif_lib.h>

#include <memory>
#include <vector>

namespace {

int writeToDevice(GifFileType *gif, const GifByteType *data, int length)
{
    auto *device = static_cast<QIODevice *>(gif->UserData);
    return int(device->write(reinterpret_cast<const char *>(data), length));
}

struct ColorMapDeleter {
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};

} // namespace

QString writeGif(const QImage &source, QIODevice &device)
{
    QImage image = source;
    if (image.colorCount() == 0 || image.colorCount() > 256)
        image = image.convertToFormat(QImage::Format_Indexed8);
    else if (image.format() != QImage::Format_Indexed8)
        image = image.convertToFormat(QImage::Format_Indexed8, image.colorTable()); // one index byte per pixel

    const int colours = qMax(1, int(image.colorCount()));
    const int bits = GifBitSize(colours);
    std::unique_ptr<ColorMapObject, ColorMapDeleter> palette(GifMakeMapObject(1 << bits, nullptr));
    if (!palette)
        return QStringLiteral("out of memory");
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb rgb = i < image.colorCount() ? image.color(i) : qRgb(0, 0, 0);
        palette->Colors[i] = GifColorType{GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)), GifByteType(qBlue(rgb))};
    }

    int error = 0;
    GifFileType *gif = EGifOpen(&device, writeToDevice, &error);
    if (!gif)
        return QString::fromLatin1(GifErrorString(error));
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, image.width(), image.height(), bits, 0, palette.get()) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, palette.get()) == GIF_OK;
    std::vector<GifPixelType> row(size_t(qMax(0, image.width())));
    for (int y = 0; ok && y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        std::copy(line, line + image.width(), row.begin());
        ok = EGifPutLine(gif, row.data(), image.width()) == GIF_OK;
    }
    if (!ok)
        error = gif->Error;
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && ok) {
        ok = false;
        error = closeError;
    }
    return ok ? QString() : QString::fromLatin1(GifErrorString(error));
}
