#include "convertsettings.h"
#include "imagepipeline.h"
#include "kivlocalconvertimage.h"
#include "testenvironment.h"
#include "thumbnailcache.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Outcome = ThumbnailCache::Outcome;
Q_DECLARE_METATYPE(Outcome)

namespace {

const QSize previewSize(400, 231);

QString writeImage(const QString &path, const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(path);
    return path;
}

void setGrayscale(bool on)
{
    KivLocalConvertImage::editSettings([on](ConvertSettings &s) {
        s.ruleList.clear();
        if (on) {
            AdjustmentRule gray;
            gray.ruleIndex = AdjustmentRule::Grayscale;
            s.ruleList.append(gray);
        }
    });
}

} // namespace

class TestThumbnailCache : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void revisitsReadTheThumbnail();
    void settingChangeRegeneratesIntoTheSameFile();
    void anEditedSourceIsMadeAgain_data();
    void anEditedSourceIsMadeAgain();
    void aThumbnailFinishedAfterAChangeStaysStale();
    void unreadableSourceGivesNoThumbnail();
    void fitInto_data();
    void fitInto();
    void folderIsThisProgramsOwn();
    void cleanupRemovesOnlyTheFolderFiles();

private:
    QTemporaryDir dir;
    std::atomic_bool running{false};
    QList<QImage> shown;
    Outcome preview(const QString &path, bool reload = false);
};

void TestThumbnailCache::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(dir.isValid());
}

void TestThumbnailCache::init()
{
    ThumbnailCache::forgetRecords();
    ImagePipeline::clearCache();
    setGrayscale(false);
    shown.clear();
}

Outcome TestThumbnailCache::preview(const QString &path, bool reload)
{
    return ThumbnailCache::preview(path, previewSize, reload, KivLocalConvertImage::settings(), running,
                                   [this](const QImage &image) { shown.append(image); });
}

void TestThumbnailCache::revisitsReadTheThumbnail()
{
    const QString a = writeImage(dir.filePath("a.png"), QSize(800, 600), Qt::red);
    const QString b = writeImage(dir.filePath("b.png"), QSize(100, 50), Qt::blue);
    QCOMPARE(preview(a), Outcome::Generated);
    QCOMPARE(preview(b), Outcome::Generated);
    QCOMPARE(preview(a), Outcome::Read);
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(2).size(), QSize(308, 231));
    QVERIFY(qRed(shown.at(2).pixel(10, 10)) > 200);
    const QList<ThumbnailRecord> records = ThumbnailCache::records();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records.at(0).filePath, a);
    QCOMPARE(records.at(1).index, 1);
    QVERIFY(QFileInfo::exists(ThumbnailCache::fileOf(1)));
}

void TestThumbnailCache::settingChangeRegeneratesIntoTheSameFile()
{
    const QString a = writeImage(dir.filePath("c.png"), QSize(64, 64), Qt::red);
    QCOMPARE(preview(a), Outcome::Generated);
    setGrayscale(true);
    QCOMPARE(preview(a, true), Outcome::Generated);
    QCOMPARE(ThumbnailCache::records().size(), 1);
    const QImage thumbnail(ThumbnailCache::fileOf(0));
    const QRgb pixel = thumbnail.pixel(5, 5);
    QVERIFY(qAbs(qRed(pixel) - qGreen(pixel)) < 8);
    QCOMPARE(preview(a), Outcome::Read);
}

void TestThumbnailCache::anEditedSourceIsMadeAgain_data()
{
    QTest::addColumn<QSize>("newSize"); // empty: the file stays as it is
    QTest::addColumn<int>("secondsLater");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("unchanged") << QSize() << 0 << Outcome::Read;
    QTest::newRow("rewritten, same length, later") << QSize(64, 64) << 5 << Outcome::Generated;
    QTest::newRow("rewritten, other length, same time") << QSize(65, 64) << 0 << Outcome::Generated;
    QTest::newRow("touched only") << QSize() << 5 << Outcome::Generated;
}

// Paths alone do not tell versions of a file apart: a source replaced after
// its preview must not show the old picture.
void TestThumbnailCache::anEditedSourceIsMadeAgain()
{
    QFETCH(QSize, newSize);
    QFETCH(int, secondsLater);
    QFETCH(Outcome, outcome);
    const QString a =
        writeImage(dir.filePath(QStringLiteral("edited-%1.png").arg(QTest::currentDataTag())), QSize(64, 64), Qt::red);
    QCOMPARE(preview(a), Outcome::Generated);
    QFile file(a);
    const QDateTime written = QFileInfo(a).lastModified();
    if (newSize.isValid())
        writeImage(a, newSize, Qt::red);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(written.addSecs(secondsLater), QFileDevice::FileModificationTime));
    file.close();
    // The engine's own cache of the last source is not what is tested here.
    ImagePipeline::clearCache();
    QCOMPARE(preview(a), outcome);
    if (outcome == Outcome::Generated)
        QCOMPARE(preview(a), Outcome::Read);
}

// A worker that made A's thumbnail with the settings before a change, and
// finishes after another worker has seen the change, leaves A stale.
void TestThumbnailCache::aThumbnailFinishedAfterAChangeStaysStale()
{
    const QString a = writeImage(dir.filePath("late-a.png"), QSize(64, 64), Qt::red);
    const QString b = writeImage(dir.filePath("late-b.png"), QSize(64, 64), Qt::blue);
    ThumbnailCache::preview(a, previewSize, false, KivLocalConvertImage::settings(), running,
                            [this, &b](const QImage &) {
                                setGrayscale(true);
                                preview(b, true);
                            });
    QCOMPARE(preview(a), Outcome::Generated);
    const QRgb pixel = shown.last().pixel(5, 5);
    QVERIFY(qAbs(qRed(pixel) - qGreen(pixel)) < 8);
}

void TestThumbnailCache::unreadableSourceGivesNoThumbnail()
{
    QFile junk(dir.filePath("junk.png"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not an image");
    junk.close();
    QCOMPARE(preview(junk.fileName()), Outcome::Unreadable);
    QCOMPARE(preview(junk.fileName()), Outcome::Unreadable);
    QVERIFY(shown.at(0).isNull());
}

void TestThumbnailCache::fitInto_data()
{
    QTest::addColumn<QSize>("input");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("smaller stays") << QSize(120, 80) << QSize(120, 80);
    QTest::newRow("exact fit stays") << QSize(400, 231) << QSize(400, 231);
    QTest::newRow("wide") << QSize(4000, 1000) << QSize(400, 100);
    QTest::newRow("tall") << QSize(1000, 2310) << QSize(100, 231);
    QTest::newRow("truncates") << QSize(801, 601) << QSize(307, 231);
    QTest::newRow("hairline keeps a pixel") << QSize(8000, 1) << QSize(400, 1);
}

void TestThumbnailCache::fitInto()
{
    QFETCH(QSize, input);
    QFETCH(QSize, expected);
    QImage image(input, QImage::Format_RGB32);
    image.fill(Qt::white);
    QCOMPARE(ThumbnailCache::fitInto(image, previewSize).size(), expected);
}

void TestThumbnailCache::folderIsThisProgramsOwn()
{
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QCOMPARE(ThumbnailCache::folder(), own + QStringLiteral("/Thumbnails/"));
    QVERIFY(own != QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QVERIFY(QFileInfo(ThumbnailCache::folder()).isDir());
}

void TestThumbnailCache::cleanupRemovesOnlyTheFolderFiles()
{
    const QString folder = ThumbnailCache::folder();
    const QString neighbour = writeImage(folder + QStringLiteral("../neighbour.png"), QSize(4, 4), Qt::red);
    writeImage(folder + QStringLiteral("older-run.webp"), QSize(4, 4), Qt::red);
    writeImage(folder + QStringLiteral(".hidden.png"), QSize(4, 4), Qt::red);
    QVERIFY(QDir().mkpath(folder + QStringLiteral("sub")));
    writeImage(folder + QStringLiteral("sub/kept.png"), QSize(4, 4), Qt::red);
    QVERIFY(ThumbnailCache::removeFiles([] { return false; }) >= 2);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo::exists(neighbour));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("sub/kept.png")));

    writeImage(folder + QStringLiteral("1.webp"), QSize(4, 4), Qt::red);
    QCOMPARE(ThumbnailCache::removeFiles([] { return true; }), 0);
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("1.webp")));
}

QTEST_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"
