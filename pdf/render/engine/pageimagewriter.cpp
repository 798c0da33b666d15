#include "pageimagewriter.h"

#include "pageencoders.h"
#include "pagerendering.h"

#include <QCoreApplication>
#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

namespace {

// Makes the bytes durable before they replace a file the user may have had.
bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

QString encode(QImage &image, PageImageFormat format, QIODevice &file)
{
    switch (format) {
    case PageImageFormat::Png:
        return PageEncoders::writePng(image, file);
    case PageImageFormat::Webp:
        return PageEncoders::writeWebp(image, file);
    case PageImageFormat::Jpg:
        break;
    }
    return PageEncoders::writeJpeg(image, file);
}

} // namespace

QString pageTemporaryFileName(const QString &fileName)
{
    return fileName + QStringLiteral(".ff-part");
}

QString writePageImage(QImage image, PageImageFormat format, const QString &fileName)
{
    if (!isFlattenable(image.format()))
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    QFile file(pageTemporaryFileName(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return file.errorString();
    QString error = encode(image, format, file);
    if (error.isEmpty() && !syncToDisk(file))
        error = file.errorString();
    file.close();
    if (error.isEmpty() && !replaceFile(file.fileName(), fileName))
        error = QCoreApplication::translate("PageImageWriter", "The file could not be replaced.");
    if (!error.isEmpty())
        file.remove();
    return error;
}
