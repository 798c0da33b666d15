#include "imagepdfwriter.h"
#include "pageencoder.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QTemporaryDir>
#include <QTest>

class TestImagePdfWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pagePictures_data();
    void pagePictures();

private:
    QTemporaryDir m_dir;
};

void TestImagePdfWriter::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    if (TestEnvironment::tool(QStringLiteral("pdfimages")).isEmpty() ||
        TestEnvironment::tool(QStringLiteral("qpdf")).isEmpty())
        QSKIP("pdfimages or qpdf is missing: run scripts/install-deps.sh");
}

void TestImagePdfWriter::pagePictures_data()
{
    QTest::addColumn<int>("format"); // of a 33 x 17 picture; -1: a JPEG file embedded as it is; -2: no picture
    QTest::addColumn<QStringList>("images"); // pdfimages -list: type, width, height, colour, components, encoding
    QTest::newRow("colour") << int(QImage::Format_RGB32) << QStringList{"image 33 17 rgb 3 jpeg"};
    QTest::newRow("gray stays one channel") << int(QImage::Format_Grayscale8) << QStringList{"image 33 17 gray 1 jpeg"};
    QTest::newRow("deep colour") << int(QImage::Format_RGBX64) << QStringList{"image 33 17 rgb 3 jpeg"};
    QTest::newRow("transparency as a soft mask")
        << int(QImage::Format_ARGB32_Premultiplied)
        << QStringList{"image 33 17 rgb 3 jpeg", "smask 33 17 gray 1 image"};
    QTest::newRow("opaque alpha channel: no mask") << int(QImage::Format_ARGB32) << QStringList{"image 33 17 rgb 3 jpeg"};
    QTest::newRow("JPEG file as it is") << -1 << QStringList{"image 33 17 rgb 3 jpeg"};
    QTest::newRow("blank page") << -2 << QStringList();
}

// Each kind of page, twice, so the objects of later pages are numbered right;
// the file passes qpdf's check and holds the pictures as described.
void TestImagePdfWriter::pagePictures()
{
    QFETCH(int, format);
    QFETCH(QStringList, images);
    PageStream page;
    QByteArray jpeg;
    if (format == -1) {
        QImage picture(33, 17, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "JPG"));
        page = PageEncoder::embedJpeg(jpeg, picture.size(), 3);
    } else if (format >= 0) {
        QImage picture(33, 17, QImage::Format(format));
        picture.fill(QColor(200, 100, 50, format == QImage::Format_ARGB32 ? 255 : 128));
        page = PageEncoder::encode(picture);
    }
    const QString path = m_dir.filePath(QStringLiteral("pages.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    ImagePdfWriter writer(file, QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF()), 150);
    writer.addPage(page, QPoint(10, 20));
    writer.addPage(page, QPoint(0, 0));
    QVERIFY(writer.finish());
    file.close();

    const QString check = QString::fromLatin1(TestEnvironment::run(QStringLiteral("qpdf"), {"--check", path}));
    QVERIFY2(check.contains(QStringLiteral("No syntax or stream encoding errors")), qPrintable(check));
    QStringList listed;
    const QStringList lines = QString::fromLatin1(TestEnvironment::run(QStringLiteral("pdfimages"), {"-list", path}))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    for (const QString &line : lines) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        listed << QStringList{f.at(2), f.at(3), f.at(4), f.at(5), f.at(6), f.at(8)}.join(QLatin1Char(' '));
    }
    QCOMPARE(listed, images + images);
    if (format == -1) {
        TestEnvironment::run(QStringLiteral("pdfimages"), {"-j", "-f", "2", path, m_dir.filePath(QStringLiteral("x"))});
        QFile extracted(m_dir.filePath(QStringLiteral("x-000.jpg")));
        QVERIFY(extracted.open(QIODevice::ReadOnly));
        QCOMPARE(extracted.readAll(), jpeg);
    }
}

QTEST_GUILESS_MAIN(TestImagePdfWriter)
#include "tst_imagepdfwriter.moc"
