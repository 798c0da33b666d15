#include "imagemagickutil.h"
#include "testenvironment.h"
#include "testimages.h"

#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <libheif/heif.h>

#include <atomic>
#include <memory>
#include <utility>

namespace {

constexpr int tolerance = 12;

// Four quadrants: red, green, blue and white, or transparent in place of white.
QImage quadrants(QSize size, bool alpha, bool deep)
{
    const QImage::Format format = deep ? (alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
                                       : (alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QImage image(size, format);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            QColor colour = y < h ? (x < w ? Qt::red : Qt::green) : (x < w ? Qt::blue : Qt::white);
            if (alpha && x >= w && y >= h)
                colour = QColor(0, 0, 0, 0);
            image.setPixelColor(x, y, colour);
        }
    return image;
}

// Checks the middle of each quadrant of an image made by quadrants().
void verifyQuadrants(const QImage &image, bool alpha)
{
    const int w = image.width() / 4;
    const int h = image.height() / 4;
    const struct {
        QPoint at;
        QColor expected;
    } samples[] = {{{w, h}, Qt::red}, {{3 * w, h}, Qt::green}, {{w, 3 * h}, Qt::blue}, {{3 * w, 3 * h}, Qt::white}};
    for (const auto &sample : samples) {
        const QColor actual = image.pixelColor(sample.at);
        if (alpha && sample.expected == Qt::white) {
            QVERIFY2(actual.alpha() < tolerance, qPrintable(QString::number(actual.alpha())));
            continue;
        }
        const QString message =
            QStringLiteral("%1 at %2,%3").arg(actual.name(QColor::HexArgb)).arg(sample.at.x()).arg(sample.at.y());
        QVERIFY2(qAbs(actual.red() - sample.expected.red()) <= tolerance &&
                     qAbs(actual.green() - sample.expected.green()) <= tolerance &&
                     qAbs(actual.blue() - sample.expected.blue()) <= tolerance && actual.alpha() > 255 - tolerance,
                 qPrintable(message));
    }
}

// Runs one of the codecs' own command-line encoders or decoders.
void run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    QVERIFY2(process.waitForStarted(), qPrintable(program + " is missing: scripts/install-deps.sh installs it"));
    QVERIFY(process.waitForFinished(120000));
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(program + ": " + QString::fromLocal8Bit(process.readAllStandardError())));
}

// Encodes a PNG with the tool that belongs to the file's suffix.
void encode(const QString &png, const QString &target, const QStringList &options)
{
    const QString suffix = QFileInfo(target).suffix();
    if (suffix == QLatin1String("avif"))
        run(QStringLiteral("avifenc"),
            QStringList{QStringLiteral("-s"), QStringLiteral("10")} + options + QStringList{png, target});
    else if (suffix == QLatin1String("jxl"))
        run(QStringLiteral("cjxl"), QStringList{png, target, QStringLiteral("-e"), QStringLiteral("3")} + options);
    else
        run(QStringLiteral("heif-enc"), options + QStringList{QStringLiteral("-o"), target, png});
}

QString writeSource(const QTemporaryDir &dir, const QString &name, const QImage &image)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG"))
        return {};
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file with another size in its image spatial extents box.
QByteArray declaringSize(QByteArray heif, QSize size)
{
    const qsizetype ispe = heif.indexOf("ispe");
    if (ispe < 0)
        return {};
    const quint32 extents[] = {qToBigEndian(quint32(size.width())), qToBigEndian(quint32(size.height()))};
    heif.replace(ispe + 8, 8, QByteArray(reinterpret_cast<const char *>(extents), 8));
    return heif;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// A HEIC made with libheif itself, for what its command-line encoder cannot
// store: rotation and mirroring boxes (as cameras store photos taken sideways)
// and the colour signalling of phone cameras.
bool writeHeic(const QString &path, const QImage &picture, heif_orientation orientation, bool displayP3 = false)
{
    const QImage source = picture.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(), heif_context_free);
    heif_encoder *encoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &encoder).code != heif_error_Ok)
        return false;
    std::unique_ptr<heif_encoder, void (*)(heif_encoder *)> encoderGuard(encoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image *image = nullptr;
    heif_image_create(source.width(), source.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    std::unique_ptr<heif_image, void (*)(const heif_image *)> imageGuard(image, heif_image_release);
    heif_image_add_plane(image, heif_channel_interleaved, source.width(), source.height(), 8);
    if (displayP3) {
        heif_color_profile_nclx *nclx = heif_nclx_color_profile_alloc();
        nclx->color_primaries = heif_color_primaries_SMPTE_EG_432_1;
        nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;
        nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
        nclx->full_range_flag = 1;
        heif_image_set_nclx_color_profile(image, nclx);
        heif_nclx_color_profile_free(nclx);
    }
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < source.height(); ++y)
        memcpy(plane + y * stride, source.constScanLine(y), size_t(source.width()) * 3);
    std::unique_ptr<heif_encoding_options, void (*)(heif_encoding_options *)> options(heif_encoding_options_alloc(),
                                                                                      heif_encoding_options_free);
    options->image_orientation = orientation;
    options->macOS_compatibility_workaround = 0; // one coded image, no grid around it
    options->macOS_compatibility_workaround_no_nclx_profile = 0;
    return heif_context_encode_image(context.get(), image, encoder, options.get(), nullptr).code == heif_error_Ok &&
           heif_context_write_to_file(context.get(), path.toLocal8Bit().constData()).code == heif_error_Ok;
}

} // namespace

class TestImageFormats : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        TestEnvironment::isolate();
        QVERIFY(m_dir.isValid());
        m_png = writeSource(m_dir, QStringLiteral("plain.png"), quadrants(QSize(64, 48), false, false));
        m_alphaPng = writeSource(m_dir, QStringLiteral("alpha.png"), quadrants(QSize(64, 48), true, false));
        m_deepPng = writeSource(m_dir, QStringLiteral("deep.png"), quadrants(QSize(64, 48), false, true));
        QVERIFY(!m_png.isEmpty() && !m_alphaPng.isEmpty() && !m_deepPng.isEmpty());
    }
    void cleanup() { QImageReader::setAllocationLimit(256); }

    void decodes_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("deep");
        const QStringList heifQuality{QStringLiteral("-q"), QStringLiteral("90")};
        const QStringList avifQuality{QStringLiteral("--min"), QStringLiteral("0"), QStringLiteral("--max"),
                                      QStringLiteral("8")};
        const QStringList jxlQuality{QStringLiteral("-d"), QStringLiteral("0.5")};
        QTest::newRow("heic") << "a.heic" << m_png << heifQuality << false << false;
        QTest::newRow("heif") << "a.heif" << m_png << heifQuality << false << false;
        QTest::newRow("heic alpha") << "alpha.heic" << m_alphaPng << heifQuality << true << false;
        QTest::newRow("heic 10-bit") << "deep.heic" << m_deepPng << heifQuality + QStringList{"-b", "10"} << false
                                     << true;
        QTest::newRow("avif") << "a.avif" << m_png << avifQuality << false << false;
        QTest::newRow("avif alpha") << "alpha.avif" << m_alphaPng << avifQuality << true << false;
        QTest::newRow("avif 10-bit") << "deep.avif" << m_png << avifQuality + QStringList{"-d", "10"} << false << true;
        QTest::newRow("avif 12-bit") << "deeper.avif" << m_png << avifQuality + QStringList{"-d", "12"} << false
                                     << true;
        QTest::newRow("jxl") << "a.jxl" << m_png << jxlQuality << false << false;
        QTest::newRow("jxl lossless") << "lossless.jxl" << m_png << QStringList{"-d", "0"} << false << false;
        QTest::newRow("jxl alpha") << "alpha.jxl" << m_alphaPng << jxlQuality << true << false;
        QTest::newRow("jxl 16-bit") << "deep.jxl" << m_deepPng << QStringList{"-d", "0"} << false << true;
    }

    // Every format loads through the one loader of the program, with its size,
    // colours, alpha and depth, and is recognised by its content under any name.
    void decodes()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, source);
        QFETCH(QStringList, options);
        QFETCH(bool, alpha);
        QFETCH(bool, deep);
        const QString path = m_dir.filePath(fileName);
        encode(source, path, options);
        if (QTest::currentTestFailed())
            return;

        QImage image;
        QVERIFY(ImageMagickUtil::loadImage(path, image));
        QCOMPARE(image.size(), QSize(64, 48));
        QCOMPARE(image.hasAlphaChannel(), alpha);
        QCOMPARE(image.depth() == 64, deep);
        verifyQuadrants(image, alpha);

        const QString renamed = m_dir.filePath(fileName + QStringLiteral(".bin"));
        QVERIFY(QFile::copy(path, renamed));
        QImage byContent;
        QVERIFY(ImageMagickUtil::loadImage(renamed, byContent));
        QCOMPARE(byContent, image);
    }

    void rotatedHeicComesUpright_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("red");
        QTest::addColumn<QPoint>("blue");
        // Stored: 64 x 32, red on the left half, blue on the right.
        QTest::newRow("as stored") << int(heif_orientation_normal) << QSize(64, 32) << QPoint(8, 16) << QPoint(56, 16);
        QTest::newRow("mirrored") << int(heif_orientation_flip_horizontally) << QSize(64, 32) << QPoint(56, 16)
                                  << QPoint(8, 16);
        QTest::newRow("turned right") << int(heif_orientation_rotate_90_cw) << QSize(32, 64) << QPoint(16, 8)
                                      << QPoint(16, 56);
        QTest::newRow("upside down") << int(heif_orientation_rotate_180) << QSize(64, 32) << QPoint(56, 16)
                                     << QPoint(8, 16);
        QTest::newRow("turned left") << int(heif_orientation_rotate_270_cw) << QSize(32, 64) << QPoint(16, 56)
                                     << QPoint(16, 8);
    }

    void rotatedHeicComesUpright()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, size);
        QFETCH(QPoint, red);
        QFETCH(QPoint, blue);
        QImage stored(64, 32, QImage::Format_RGB32);
        stored.fill(Qt::blue);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                stored.setPixel(x, y, qRgb(255, 0, 0));
        const QString path = m_dir.filePath(QStringLiteral("oriented%1.heic").arg(orientation));
        QVERIFY(writeHeic(path, stored, heif_orientation(orientation)));

        QImageReader reader(path);
        QCOMPARE(reader.size(), size);
        QImage image;
        QVERIFY(ImageMagickUtil::loadImage(path, image));
        QCOMPARE(image.size(), size);
        QVERIFY(qRed(image.pixel(red)) > 240 && qBlue(image.pixel(red)) < 16);
        QVERIFY(qBlue(image.pixel(blue)) > 240 && qRed(image.pixel(blue)) < 16);
    }

    // cjxl keeps a JPEG's EXIF orientation in the JPEG XL headers, and the
    // pixels as the camera stored them.
    void sidewaysJpegXlComesUpright()
    {
        const QString jpeg = m_dir.filePath(QStringLiteral("sideways.jpg"));
        QVERIFY(writeFile(jpeg, TestImages::sidewaysJpeg()));
        const QString path = m_dir.filePath(QStringLiteral("sideways.jxl"));
        encode(jpeg, path, {});
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(QImageReader(path).size(), QSize(20, 40));
        QImage image;
        QVERIFY(ImageMagickUtil::loadImage(path, image));
        QCOMPARE(image.size(), QSize(20, 40));
        QVERIFY(qRed(image.pixel(10, 5)) > 200 && qBlue(image.pixel(10, 5)) < 60);
        QVERIFY(qBlue(image.pixel(10, 35)) > 200 && qRed(image.pixel(10, 35)) < 60);
    }

    // The conversion and the previews decode on several threads at once.
    void concurrentLoads()
    {
        const QStringList files{m_dir.filePath(QStringLiteral("a.heic")), m_dir.filePath(QStringLiteral("a.avif")),
                                m_dir.filePath(QStringLiteral("a.jxl")), m_dir.filePath(QStringLiteral("alpha.heic"))};
        std::atomic<int> loaded = 0;
        QList<QThread *> threads;
        for (const QString &path : files)
            threads.append(QThread::create([path, &loaded] {
                for (int i = 0; i < 4; ++i) {
                    QImage image;
                    if (ImageMagickUtil::loadImage(path, image) && image.size() == QSize(64, 48))
                        ++loaded;
                }
            }));
        for (QThread *thread : std::as_const(threads))
            thread->start();
        for (QThread *thread : std::as_const(threads)) {
            thread->wait();
            delete thread;
        }
        QCOMPARE(loaded.load(), 16);
    }

    void sizeWithoutDecoding_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("size");
        const QString heic = m_dir.filePath(QStringLiteral("single.heic"));
        QVERIFY(writeHeic(heic, quadrants(QSize(64, 48), false, false), heif_orientation_normal));
        const QByteArray avif = readFile(m_dir.filePath(QStringLiteral("a.avif")));
        const QByteArray jxl = readFile(m_dir.filePath(QStringLiteral("lossless.jxl")));
        QVERIFY2(!avif.isEmpty() && !jxl.isEmpty(), "decodes() makes the files");
        // 20000 x 20000 in the image spatial extents box: 1.2 GB of pixels, over the limit.
        const QSize huge(20000, 20000);
        QTest::newRow("heic declaring 20000 x 20000") << "huge.heic" << declaringSize(readFile(heic), huge) << huge;
        QTest::newRow("avif declaring 20000 x 20000") << "huge.avif" << declaringSize(avif, huge) << huge;
        QTest::newRow("jxl without its pixel data") << "cut.jxl" << jxl.left(jxl.size() / 2) << QSize(64, 48);
    }

    // The size comes from the headers, so listing a file stays cheap: these
    // files tell it although their pixels cannot be decoded.
    void sizeWithoutDecoding()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QSize, size);
        const QString path = m_dir.filePath(fileName);
        QVERIFY(writeFile(path, content));

        QImageReader reader(path);
        QCOMPARE(reader.size(), size);
        QImage image;
        QVERIFY(!ImageMagickUtil::loadImage(path, image));
        QVERIFY(image.isNull());
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        const QByteArray heic = readFile(m_dir.filePath(QStringLiteral("a.heic")));
        const QByteArray avif = readFile(m_dir.filePath(QStringLiteral("a.avif")));
        const QByteArray jxl = readFile(m_dir.filePath(QStringLiteral("a.jxl")));
        const QByteArray ftyp("\0\0\0\x18"
                              "ftypheic\0\0\0\0mif1heic",
                              24);
        QTest::newRow("empty heic") << "empty.heic" << QByteArray();
        QTest::newRow("text named heic") << "text.heic" << QByteArray("not an image at all\n");
        QTest::newRow("text named avif") << "text.avif" << QByteArray("not an image at all\n");
        QTest::newRow("text named jxl") << "text.jxl" << QByteArray("not an image at all\n");
        QTest::newRow("file type box only") << "box.heic" << ftyp;
        QTest::newRow("file type box and noise") << "noise.heic" << ftyp + QByteArray(4000, '\x5a');
        QTest::newRow("heic cut in half") << "half.heic" << heic.left(heic.size() / 2);
        QTest::newRow("heic with a garbled middle")
            << "garbled.heic" << heic.left(heic.size() / 2) + QByteArray(heic.size() / 2, '\xff');
        QTest::newRow("avif cut in half") << "half.avif" << avif.left(avif.size() / 2);
        QTest::newRow("jxl signature only") << "sig.jxl" << QByteArray("\xff\x0a", 2);
        QTest::newRow("jxl cut in half") << "half.jxl" << jxl.left(jxl.size() / 2);
        QTest::newRow("jxl with a garbled middle")
            << "garbled.jxl" << jxl.left(jxl.size() / 2) + QByteArray(jxl.size() / 2, '\x33');
    }

    void badInput()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QStringLiteral("bad-") + fileName);
        QVERIFY(writeFile(path, content));
        QImage image;
        QVERIFY(!ImageMagickUtil::loadImage(path, image));
        QVERIFY(image.isNull());
    }

    void allocationLimit_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("heic") << "big.heic";
        QTest::newRow("avif") << "big.avif";
        QTest::newRow("jxl") << "big.jxl";
    }

    // 1024 x 768 needs over 2 MB: refused under a 1 MB limit, read under the usual one.
    void allocationLimit()
    {
        QFETCH(QString, fileName);
        const QString png = writeSource(m_dir, QStringLiteral("big.png"), quadrants(QSize(1024, 768), false, false));
        const QString path = m_dir.filePath(fileName);
        encode(png, path, {});
        if (QTest::currentTestFailed())
            return;

        QImageReader::setAllocationLimit(1);
        QImageReader limited(path);
        QCOMPARE(limited.size(), QSize(1024, 768));
        QVERIFY(limited.read().isNull());

        QImageReader::setAllocationLimit(256);
        QImageReader reader(path);
        QCOMPARE(reader.read().size(), QSize(1024, 768));
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("decoder");
        QTest::newRow("heic") << QByteArray("heic") << "heif-convert";
        QTest::newRow("heif") << QByteArray("heif") << "heif-convert";
        QTest::newRow("avif") << QByteArray("avif") << "avifdec";
        QTest::newRow("jxl") << QByteArray("jxl") << "djxl";
    }

    // What the image edition writes, checked by each library's own decoder; an
    // odd size, as scaling gives, although the codecs work in even blocks.
    void writes()
    {
        QFETCH(QByteArray, format);
        QFETCH(QString, decoder);
        for (const bool alpha : {false, true}) {
            const QString path = m_dir.filePath(QStringLiteral("written%1.").arg(alpha) + QString::fromLatin1(format));
            QImageWriter writer(path);
            writer.setQuality(90);
            QVERIFY2(writer.write(quadrants(QSize(65, 49), alpha, false)), qPrintable(writer.errorString()));
            const QString png = path + QStringLiteral(".png");
            run(decoder, {path, png});
            if (QTest::currentTestFailed())
                return;
            const QImage decoded(png);
            QCOMPARE(decoded.size(), QSize(65, 49));
            QCOMPARE(decoded.hasAlphaChannel(), alpha);
            verifyQuadrants(decoded, alpha);
        }
    }

    void sourcesArriveInSrgb_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QColor>("left");
        QTest::addColumn<QColor>("right");
        // The picture's (200, 60, 40) and (90, 110, 200), read as Display P3, in sRGB.
        const QColor left(217, 42, 23);
        const QColor right(85, 111, 206);
        // Phone cameras signal Display P3 without an ICC profile.
        QTest::newRow("HEIC signalling Display P3") << "heic" << left << right;
        QTest::newRow("AVIF signalling Display P3") << "avif" << left << right;
        QTest::newRow("JPEG with a Display P3 profile") << "jpg" << left << right;
        QTest::newRow("PNG with a Display P3 profile") << "png" << left << right;
        QTest::newRow("PNG without a profile") << "plain" << QColor(200, 60, 40) << QColor(90, 110, 200);
    }

    void sourcesArriveInSrgb()
    {
        QFETCH(QString, kind);
        QFETCH(QColor, left);
        QFETCH(QColor, right);
        QImage picture(64, 32, QImage::Format_RGB32);
        picture.fill(QColor(200, 60, 40));
        for (int y = 0; y < 32; ++y)
            for (int x = 32; x < 64; ++x)
                picture.setPixelColor(x, y, QColor(90, 110, 200));
        const QString path = m_dir.filePath(kind == QLatin1String("plain") ? QStringLiteral("plain.png")
                                                                            : QStringLiteral("p3.") + kind);
        if (kind == QLatin1String("heic")) {
            QVERIFY(writeHeic(path, picture, heif_orientation_normal, true));
        } else if (kind == QLatin1String("avif")) {
            // Primaries 12 (Display P3), sRGB transfer, BT.601 matrix.
            encode(writeSource(m_dir, QStringLiteral("p3source.png"), picture), path,
                   {QStringLiteral("--cicp"), QStringLiteral("12/13/6"), QStringLiteral("-r"), QStringLiteral("full")});
            if (QTest::currentTestFailed())
                return;
        } else {
            if (kind != QLatin1String("plain"))
                picture.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
            QVERIFY(picture.save(path, kind == QLatin1String("jpg") ? "JPG" : "PNG", 95));
        }
        QImage image;
        QVERIFY(ImageMagickUtil::loadImage(path, image));
        for (const auto &[x, expected] : {std::pair{16, left}, std::pair{48, right}}) {
            const QColor actual = image.pixelColor(x, 16);
            QVERIFY2(qAbs(actual.red() - expected.red()) <= 6 && qAbs(actual.green() - expected.green()) <= 6 &&
                         qAbs(actual.blue() - expected.blue()) <= 6,
                     qPrintable(QStringLiteral("%1 at %2, expected %3").arg(actual.name()).arg(x).arg(expected.name())));
        }
    }

    void colourProfiles()
    {
        // Lossy JPEG XL decodes straight to sRGB.
        QImage jxl;
        QVERIFY(ImageMagickUtil::loadImage(m_dir.filePath(QStringLiteral("a.jxl")), jxl));
        QVERIFY(jxl.colorSpace().isValid());
        QCOMPARE(jxl.colorSpace().primaries(), QColorSpace::Primaries::SRgb);
        QCOMPARE(jxl.colorSpace().transferFunction(), QColorSpace::TransferFunction::SRgb);
    }

private:
    QTemporaryDir m_dir;
    QString m_png;
    QString m_alphaPng;
    QString m_deepPng;
};

QTEST_GUILESS_MAIN(TestImageFormats)
#include "tst_imageformats.moc"
