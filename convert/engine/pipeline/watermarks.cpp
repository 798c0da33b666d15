#include "watermarks.h"

#include "guardedimagereader.h"
#include "imagemagickutil.h"

#include <QFileInfo>
#include <QPainter>

#include <qrcodegen/qrcodegen.hpp>

namespace Watermarks {
namespace {

Qt::Alignment textAlignment(int position)
{
    switch (position) {
    case 0:
        return Qt::AlignLeft | Qt::AlignTop;
    case 1:
        return Qt::AlignHCenter | Qt::AlignTop;
    case 2:
        return Qt::AlignRight | Qt::AlignTop;
    case 3:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 4:
        return Qt::AlignCenter;
    case 5:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 6:
        return Qt::AlignLeft | Qt::AlignBottom;
    case 7:
        return Qt::AlignHCenter | Qt::AlignBottom;
    default:
        return Qt::AlignRight | Qt::AlignBottom;
    }
}

void drawText(QPainter &painter, const QImage &overlay, const ConvertSettings &s)
{
    QFont font = s.textFont;
    font.setPointSize(qMax(1, s.textSize));
    font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setPen(QPen(s.textColor));
    painter.setOpacity(s.textOpacity / 100.0);
    const QRect rect = overlay.rect().adjusted(s.textMargin, s.textMargin, -s.textMargin, -s.textMargin);
    painter.save();
    painter.setClipRect(rect);
    painter.drawText(rect, int(textAlignment(s.textPosition) | Qt::TextSingleLine), s.textContent);
    painter.restore();
}

void drawPlaced(QPainter &painter, const QImage &overlay, const QImage &watermark, int position, int margin)
{
    QPoint topLeft;
    if (watermark.isNull() || !placement(overlay.size(), watermark.size(), position, margin, &topLeft))
        return;
    painter.drawImage(topLeft, watermark);
}

QImage watermarkImage(const ConvertSettings &s)
{
    GuardedImageReader reader(s.imagePath);
    QImage image;
    if (!reader.read(&image))
        return {};
    // Painted over sRGB pixels, so in sRGB itself.
    ImageMagickUtil::convertToSrgb(image);
    const double f = s.imageSize / 100.0;
    const QSize size(int(image.width() * f), int(image.height() * f));
    if (size.isEmpty())
        return {};
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

bool placement(const QSize &overlay, const QSize &watermark, int position, int margin, QPoint *topLeft)
{
    if (position < 0 || position > 8)
        return false;
    const int w = watermark.width(), h = watermark.height();
    const int W = overlay.width(), H = overlay.height();
    const int column = position % 3, row = position / 3;
    const int x = column == 0 ? margin : column == 1 ? (W - w) / 2 : W - margin - w;
    const int y = row == 0 ? margin : row == 1 ? (H - h) / 2 : H - margin - h;
    *topLeft = QPoint(x, y);
    return true;
}

bool any(const ConvertSettings &s)
{
    return !s.textContent.isEmpty() || (!s.imagePath.isEmpty() && QFileInfo(s.imagePath).isFile()) ||
           !s.qrCodeText.isEmpty();
}

void drawWatermarks(QImage &overlay, const ConvertSettings &s)
{
    QPainter painter(&overlay);
    if (!s.textContent.isEmpty())
        drawText(painter, overlay, s);
    if (!s.imagePath.isEmpty() && QFileInfo(s.imagePath).isFile()) {
        painter.setOpacity(s.imageOpacity / 100.0);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        drawPlaced(painter, overlay, watermarkImage(s), s.imagePosition, s.imageMargin);
    }
    if (!s.qrCodeText.isEmpty()) {
        painter.setOpacity(1.0);
        drawPlaced(painter, overlay, makeQrImage(s.qrCodeText, s.qrCodeSize), s.qrCodePosition, s.qrCodeMargin);
    }
}

QImage makeQrImage(const QString &text, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    try {
        const QByteArray utf8 = text.toUtf8();
        const qrcodegen::QrCode qr = qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::LOW);
        const int n = qMax(1, qr.getSize());
        const double e = double(size) / (n + 2);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                if (qr.getModule(x, y))
                    painter.drawRect(QRectF((x + 1) * e, (y + 1) * e, e, e));
            }
        }
    } catch (const qrcodegen::data_too_long &) {
        return {};
    }
    return image;
}

} // namespace Watermarks
