#include "guardedimagereader.h"
#include "hostileimages.h"
#include "testenvironment.h"

#include <QColorSpace>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr long allowedGrowthKb = 64 * 1024;

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

struct ChildRun {
    bool exited = false;
    int code = -1;
    long peakKb = 0;
};

// Runs `work` in a forked child and reports its exit code and peak resident
// size. A hard address-space cap keeps a regression from eating the machine;
// it sits well above what the assertion allows, so an allocation the guard
// missed shows in the peak instead of failing quietly. (AddressSanitizer
// reserves terabytes of address space, so it runs without the cap.)
ChildRun runInChild(const std::function<int()> &work)
{
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
#ifndef __SANITIZE_ADDRESS__
        rlimit cap{};
        getrlimit(RLIMIT_AS, &cap);
        QFile status(QStringLiteral("/proc/self/statm"));
        if (status.open(QIODevice::ReadOnly)) {
            const rlim_t vm = rlim_t(status.readAll().split(' ').at(0).toLong()) * rlim_t(sysconf(_SC_PAGESIZE));
            cap.rlim_cur = vm + (rlim_t(2) << 30);
            setrlimit(RLIMIT_AS, &cap);
        }
#endif
        _exit(work());
    }
    ChildRun run;
    int status = 0;
    rusage usage{};
    for (int waited = 0; waited < 30000; waited += 10) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            run.exited = WIFEXITED(status);
            run.code = run.exited ? WEXITSTATUS(status) : -1;
            run.peakKb = usage.ru_maxrss;
            return run;
        }
        QThread::msleep(10);
    }
    kill(pid, SIGKILL);
    wait4(pid, &status, 0, &usage);
    return run;
}

void run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    QVERIFY2(process.waitForStarted(), qPrintable(program + " is missing: scripts/install-deps.sh installs it"));
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
}

// Red, green, blue and white quadrants; the white one transparent with alpha.
QImage quadrants(QSize size, bool alpha)
{
    QImage image(size, QImage::Format_ARGB32);
    const int w = size.width() / 2, h = size.height() / 2;
    image.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (y < h || x < w)
                image.setPixel(x, y, y < h ? (x < w ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) : qRgb(0, 0, 255));
            else if (alpha)
                image.setPixel(x, y, 0);
    return image;
}

// Every pixel of `actual` within 2 of `expected` per channel (alpha included).
bool samePixels(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return false;
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = expected.pixel(x, y);
            if (qAlpha(q) == 0 && qAlpha(p) == 0)
                continue;
            if (qAbs(qRed(p) - qRed(q)) > 2 || qAbs(qGreen(p) - qGreen(q)) > 2 || qAbs(qBlue(p) - qBlue(q)) > 2 ||
                qAbs(qAlpha(p) - qAlpha(q)) > 2)
                return false;
        }
    return true;
}

} // namespace

class TestImageGuard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        TestEnvironment::isolate();
        QVERIFY(m_dir.isValid());
    }

    void refusesHostileFiles_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString &kind : HostileImages::kinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }

    // Refused with the reason, reading the size and then the picture, and at
    // no more memory than a few headers need.
    void refusesHostileFiles()
    {
        QFETCH(QString, kind);
        const QString path = m_dir.filePath(kind + QStringLiteral(".img"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write(HostileImages::make(kind)) > 0);
        }
        const QString expected = HostileImages::expectedReason(kind);
        const long before = residentKb();
        const ChildRun child = runInChild([&] {
            GuardedImageReader reader(path);
            const QSize size = reader.size();
            const QString afterSize = reader.failure();
            QImage image;
            const bool read = reader.read(&image);
            if (size.isValid() || read || afterSize != expected || reader.failure() != expected) {
                std::fprintf(stderr, "size %dx%d, read %d, failure \"%s\" / \"%s\"\n", size.width(), size.height(),
                             int(read), qPrintable(afterSize), qPrintable(reader.failure()));
                return 1;
            }
            return 0;
        });
        QVERIFY2(child.exited, "the reader did not finish");
        QVERIFY2(child.peakKb - before < allowedGrowthKb,
                 qPrintable(QStringLiteral("%1 MB more than before").arg((child.peakKb - before) / 1024)));
        QCOMPARE(child.code, 0);
    }

    void readsGenuineFiles_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("convertOptions"); // empty: written by Qt
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<int>("orientation"); // QImageIOHandler::Transformations applied on reading
        const QStringList none;
        QTest::newRow("png with text and profile") << "text.png" << none << true << 0;
        QTest::newRow("png 16-bit") << "deep.png" << QStringList{"-depth", "16"} << false << 0;
        QTest::newRow("jpeg progressive") << "progressive.jpg" << QStringList{"-interlace", "JPEG"} << false << 0;
        QTest::newRow("gif") << "palette.gif" << QStringList{"-colors", "4"} << false << 0;
        QTest::newRow("webp lossless") << "lossless.webp" << QStringList{"-define", "webp:lossless=true"} << true << 0;
        QTest::newRow("tiff 16-bit rgb") << "rgb16.tif" << QStringList{"-depth", "16", "-alpha", "off"} << false << 0;
        QTest::newRow("tiff 16-bit planar") << "planar16.tif"
                                           << QStringList{"-depth", "16", "-alpha", "off", "-interlace", "plane"}
                                           << false << 0;
        QTest::newRow("tiff 8-bit planar lzw")
            << "planar8.tif" << QStringList{"-alpha", "off", "-interlace", "plane", "-compress", "lzw"} << false << 0;
        QTest::newRow("tiff 16-bit alpha deflate")
            << "alpha16.tif" << QStringList{"-depth", "16", "-compress", "zip"} << true << 0;
        QTest::newRow("tiff stored sideways")
            << "sideways.tif" << QStringList{"-alpha", "off", "-orient", "RightTop"} << false
            << int(QImageIOHandler::TransformationRotate90);
    }

    // What cameras, scanners and editors write passes the guard with its colours.
    void readsGenuineFiles()
    {
        QFETCH(QString, fileName);
        QFETCH(QStringList, convertOptions);
        QFETCH(bool, alpha);
        QFETCH(int, orientation);
        const QImage source = quadrants(QSize(96, 64), alpha);
        const QString path = m_dir.filePath(fileName);
        if (convertOptions.isEmpty()) {
            QImage tagged = source;
            tagged.setText(QStringLiteral("Comment"), QStringLiteral("scanned"));
            tagged.setColorSpace(QColorSpace::SRgb);
            QVERIFY(tagged.save(path));
        } else {
            const QString png = m_dir.filePath(fileName + QStringLiteral(".png"));
            QVERIFY(source.save(png));
            run(QStringLiteral("convert"), QStringList{png} + convertOptions + QStringList{path});
            if (QTest::currentTestFailed())
                return;
        }
        GuardedImageReader reader(path);
        reader.setAutoTransform(true);
        QImage image;
        QVERIFY2(reader.read(&image), qPrintable(reader.failure()));
        const QImage expected = orientation == int(QImageIOHandler::TransformationRotate90)
                                    ? source.transformed(QTransform().rotate(90))
                                    : source;
        const bool lossy = fileName.endsWith(QLatin1String(".jpg"));
        QVERIFY(lossy ? image.size() == expected.size() : samePixels(image, expected));
    }

    // A photo so flat that it compresses as far as its format allows is no
    // claim without data.
    void flatPicturesPass_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("png") << "flat.png";
        QTest::newRow("jpeg") << "flat.jpg";
        QTest::newRow("gif") << "flat.gif";
        QTest::newRow("tiff deflate") << "flat.tif";
    }

    void flatPicturesPass()
    {
        QFETCH(QString, fileName);
        const QString path = m_dir.filePath(fileName);
        QStringList options{"-size", "6000x4000", "xc:#808080"};
        if (fileName.endsWith(QLatin1String(".tif")))
            options << "-compress" << "zip";
        run(QStringLiteral("convert"), options << path);
        if (QTest::currentTestFailed())
            return;
        GuardedImageReader reader(path);
        QCOMPARE(reader.size(), QSize(6000, 4000));
        QVERIFY2(reader.failure().isEmpty(), qPrintable(reader.failure()));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestImageGuard)
#include "tst_imageguard.moc"
