#pragma once

#include <QCoreApplication>
#include <QImage>

// The translation context of the encoders' messages.
class PageEncoderText
{
    Q_DECLARE_TR_FUNCTIONS(PageEncoderText)
};

namespace PageEncoders {

// Qt's JPEG and WEBP writers both fall back to 75 when no quality is given.
inline constexpr int defaultQuality = 75;

inline QRgb *rowOf(QImage &page, int y)
{
    return reinterpret_cast<QRgb *>(page.scanLine(y));
}

} // namespace PageEncoders
