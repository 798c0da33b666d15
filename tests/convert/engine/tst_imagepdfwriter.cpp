#include "imagepdfwriter.h"
#include "pageencoder.h"
#include "sourceimageloader.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTransform>
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
    void turnedPicturesLandUpright_data();
    void turnedPicturesLandUpright();

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
        page = PageEncoder::embedJpeg(jpeg, picture.size(), 3, QImageIOHandler::TransformationNone);
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

void TestImagePdfWriter::turnedPicturesLandUpright_data()
{
    QTest::addColumn<int>("orientation"); // QImageIOHandler::Transformations
    using T = QImageIOHandler::Transformation;
    for (const auto &[name, turn] : {std::pair{"as stored", T::TransformationNone}, {"mirrored", T::TransformationMirror},
                                     {"upside down", T::TransformationRotate180}, {"flipped", T::TransformationFlip},
                                     {"transposed", T::TransformationFlipAndRotate90},
                                     {"turned right", T::TransformationRotate90},
                                     {"transversed", T::TransformationMirrorAndRotate90},
                                     {"turned left", T::TransformationRotate270}})
        QTest::newRow(name) << int(turn);
}

// An upright 80 x 40 picture of four colours is stored the way a file with
// that orientation holds it; the loader's turn and the page both show it upright.
void TestImagePdfWriter::turnedPicturesLandUpright()
{
    QFETCH(int, orientation);
    const auto turn = QImageIOHandler::Transformations(orientation);
    const QList<QColor> colours{QColor(220, 30, 30), QColor(30, 160, 40), QColor(30, 50, 210), QColor(240, 200, 30)};
    QImage upright(80, 40, QImage::Format_RGB32);
    for (int q = 0; q < 4; ++q)
        QPainter(&upright).fillRect((q % 2) * 40, (q / 2) * 20, 40, 20, colours.at(q));
    QImage stored = upright;
    if (turn & QImageIOHandler::TransformationRotate90)
        stored = stored.transformed(QTransform().rotate(-90));
    stored = stored.mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
    QCOMPARE(SourceImageLoader::turnedUpright(stored, turn), upright);

    PageStream page = PageEncoder::encode(stored);
    page.orientation = turn;
    const QString path = m_dir.filePath(QStringLiteral("turned.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    ImagePdfWriter writer(file, QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF()), 72);
    writer.addPage(page, QPoint(10, 30));
    QVERIFY(writer.finish());
    file.close();
    const QString prefix = m_dir.filePath(QStringLiteral("turned"));
    TestEnvironment::run(QStringLiteral("pdftoppm"), {"-r", "72", "-singlefile", "-png", path, prefix});
    const QImage rendered(prefix + QStringLiteral(".png"));
    for (int q = 0; q < 4; ++q) {
        const QColor actual = rendered.pixelColor(10 + 20 + (q % 2) * 40, 30 + 10 + (q / 2) * 20);
        const QColor wanted = colours.at(q);
        QVERIFY2(qAbs(actual.red() - wanted.red()) <= 8 && qAbs(actual.green() - wanted.green()) <= 8 &&
                     qAbs(actual.blue() - wanted.blue()) <= 8,
                 qPrintable(QStringLiteral("quadrant %1: %2, expected %3").arg(q).arg(actual.name(), wanted.name())));
    }
    QCOMPARE(rendered.pixelColor(10 + 85, 30 + 20), QColor(Qt::white));
    QCOMPARE(rendered.pixelColor(10 + 40, 30 + 45), QColor(Qt::white));
}

QTEST_GUILESS_MAIN(TestImagePdfWriter)
#include "tst_imagepdfwriter.moc"
