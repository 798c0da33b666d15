// Benchmark driver for the images-to-PDF work layer; bench/run img2pdf calls it.
//   ff-img2pdf-bench generate <folder> <count>
//   ff-img2pdf-bench tag-p3 <from folder> <to folder> <count>
//   ff-img2pdf-bench convert <folder of JPEGs> <output.pdf> [threads]
//   ff-img2pdf-bench reference <folder of JPEGs> <output.pdf>
//   ff-img2pdf-bench psnr <folder of pictures> <folder of pictures>
// Converts like a run of the "Images to PDF" tab on A4 at 300 dpi with the
// other options at their defaults. The reference writes the same pages the
// plain way: each picture decoded whole, smoothly shrunk to the page and drawn
// with Qt's PDF writer, as the tab did before its pages were prepared in
// parallel; psnr compares the page pictures of two PDFs (pdfimages -j).
#include "imageconversion.h"
#include "imagescaling.h"
#include "photocorpus.h"

#include <QColorSpace>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QList>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: ff-img2pdf-bench generate <folder> <count>\n"
                         "       ff-img2pdf-bench tag-p3 <from folder> <to folder> <count>\n"
                         "       ff-img2pdf-bench convert <folder> <output.pdf> [threads]\n"
                         "       ff-img2pdf-bench reference <folder> <output.pdf>\n"
                         "       ff-img2pdf-bench psnr <folder> <folder>\n");
    return 2;
}

QStringList files(const QString &folder, const QString &pattern)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({pattern}, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

int runConvert(const QString &folder, const QString &output, int threads)
{
    ConvertJob job;
    job.sources = files(folder, QStringLiteral("*.jpg"));
    const QFileInfo target(output);
    job.outputFolder = target.absolutePath();
    job.extension = QStringLiteral(".pdf");
    job.threads = threads;
    ConvertSettings settings;
    settings.pdfFileName = target.fileName();
    settings.pdfPaperSize = 1; // A4
    settings.pdfQuality = 2;   // 300 dpi

    QElapsedTimer timer;
    timer.start();
    const std::atomic_bool stop = false;
    const ConvertResult result = ImageConversion::convert(
        job, settings, [](int, const QString &) {}, stop);
    std::printf("converted %lld images in %.3f s, %lld failures\n", qlonglong(job.sources.size()),
                timer.elapsed() / 1000.0, qlonglong(result.failures.size()));
    for (const QString &failure : result.failures)
        std::fprintf(stderr, "%s\n", qPrintable(failure));
    return result.failures.isEmpty() ? 0 : 1;
}

int runReference(const QString &folder, const QString &output)
{
    QPdfWriter writer(output);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_6);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter(&writer);
    const QStringList sources = files(folder, QStringLiteral("*.jpg"));
    for (const QString &source : sources) {
        QImageReader reader(source);
        reader.setAutoTransform(true);
        const QImage picture = reader.read();
        const QSize page = ImageScaling::pageFitSize(picture.size(), QSize(writer.width(), writer.height()), false);
        const QImage image = picture.scaled(page, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(0, 0, image);
        if (source != sources.last())
            writer.newPage();
    }
    return painter.end() ? 0 : 1;
}

// An APP2 segment with an ICC profile, as cameras and editors embed one.
QByteArray iccSegment(const QByteArray &profile)
{
    const QByteArray body = QByteArray("ICC_PROFILE", 12) + char(1) + char(1) + profile;
    const quint16 length = qToBigEndian(quint16(body.size() + 2));
    return QByteArray("\xFF\xE2", 2) + QByteArray(reinterpret_cast<const char *>(&length), 2) + body;
}

int tagP3(const QString &from, const QString &to, int count)
{
    QDir().mkpath(to);
    const QByteArray segment = iccSegment(QColorSpace(QColorSpace::DisplayP3).iccProfile());
    for (const QString &path : files(from, QStringLiteral("*.jpg")).mid(0, count)) {
        QFile in(path);
        QFile out(QDir(to).filePath(QFileInfo(path).fileName()));
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            return 1;
        QByteArray jpeg = in.readAll();
        jpeg.insert(2, segment);
        if (out.write(jpeg) != jpeg.size())
            return 1;
    }
    return 0;
}

double squaredError(const QImage &x, const QImage &y)
{
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int r = qRed(p[col]) - qRed(q[col]);
            const int g = qGreen(p[col]) - qGreen(q[col]);
            const int bl = qBlue(p[col]) - qBlue(q[col]);
            sum += r * r + g * g + bl * bl;
        }
    }
    return sum;
}

// Peak signal-to-noise ratio of the page pictures of two folders, compared
// in name order: the worst page and all pages together, then the five worst
// pages (counted from 1) with theirs, so a fault can be traced. A picture stored
// sideways (the page turns it upright) is compared turned either way, the
// closer counting.
int psnr(const QString &a, const QString &b)
{
    const QStringList left = files(a, QStringLiteral("*"));
    const QStringList right = files(b, QStringLiteral("*"));
    if (left.isEmpty() || left.size() != right.size()) {
        std::fprintf(stderr, "the PDFs hold %lld and %lld pictures\n", qlonglong(left.size()), qlonglong(right.size()));
        return 1;
    }
    QList<std::pair<double, qsizetype>> pages;
    double squares = 0;
    qint64 samples = 0;
    for (qsizetype i = 0; i < left.size(); ++i) {
        const QImage x = QImage(left.at(i)).convertToFormat(QImage::Format_RGB32);
        const QImage y = QImage(right.at(i)).convertToFormat(QImage::Format_RGB32);
        double page = 0;
        if (x.size() == y.size()) {
            page = squaredError(x, y);
        } else if (x.size().transposed() == y.size()) {
            page = std::min(squaredError(x.transformed(QTransform().rotate(90)), y),
                            squaredError(x.transformed(QTransform().rotate(-90)), y));
        } else {
            std::fprintf(stderr, "picture %lld: %dx%d against %dx%d\n", qlonglong(i), x.width(), x.height(),
                         y.width(), y.height());
            return 1;
        }
        const qint64 n = 3 * qint64(x.width()) * x.height();
        pages.append({10 * std::log10(255.0 * 255.0 * n / std::max(page, 1e-9)), i + 1});
        squares += page;
        samples += n;
    }
    std::sort(pages.begin(), pages.end());
    std::printf("PSNR %.1f %.1f\n", pages.first().first,
                10 * std::log10(255.0 * 255.0 * samples / std::max(squares, 1e-9)));
    for (qsizetype i = 0; i < std::min<qsizetype>(5, pages.size()); ++i)
        std::printf("page %lld %.1f\n", qlonglong(pages.at(i).second), pages.at(i).first);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == QLatin1String("generate") && arguments.size() == 2)
        return PhotoCorpus::write(arguments.at(0), arguments.at(1).toInt()) ? 0 : 1;
    if (command == QLatin1String("tag-p3") && arguments.size() == 3)
        return tagP3(arguments.at(0), arguments.at(1), arguments.at(2).toInt());
    if (command == QLatin1String("convert") && (arguments.size() == 2 || arguments.size() == 3))
        return runConvert(arguments.at(0), arguments.at(1), arguments.value(2).toInt());
    if (command == QLatin1String("reference") && arguments.size() == 2)
        return runReference(arguments.at(0), arguments.at(1));
    if (command == QLatin1String("psnr") && arguments.size() == 2)
        return psnr(arguments.at(0), arguments.at(1));
    return usage();
}
