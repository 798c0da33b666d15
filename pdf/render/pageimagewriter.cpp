#include "pageimagewriter.h"

#include "pageencoders.h"
#include "pagerendering.h"

#include <QSaveFile>

QString writePageImage(QImage image, PageImageFormat format, const QString &fileName)
{
    if (!isFlattenable(image.format()))
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QString error;
    switch (format) {
    case PageImageFormat::Png:
        error = PageEncoders::writePng(image, file);
        break;
    case PageImageFormat::Webp:
        error = PageEncoders::writeWebp(image, file);
        break;
    case PageImageFormat::Jpg:
        error = PageEncoders::writeJpeg(image, file);
        break;
    }
    if (!error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
