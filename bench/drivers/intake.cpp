// Drives the images tool's source list headless: adds a folder the way a drop
// does and reports when every file is listed and when every icon and size
// has arrived. "generate" writes the folder of pictures first.
#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "convertimageframe.h"
#include "softshapes.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace {

// Half phone photos (JPEG, 1600 x 1200, soft shapes and grain), half
// screenshots (PNG, 1440 x 900, flat panels and lines), in sub-folders of 100.
bool generate(const QString &folder, int count)
{
    QRandomGenerator random(1208);
    for (int i = 0; i < count; ++i) {
        const bool photo = i % 2 == 0;
        QImage image(photo ? QSize(1600, 1200) : QSize(1440, 900), QImage::Format_RGB32);
        QPainter painter(&image);
        if (photo) {
            QLinearGradient sky(0, 0, 0, image.height());
            sky.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 220));
            sky.setColorAt(1, QColor::fromHsv(random.bounded(360), 140, 90));
            painter.fillRect(image.rect(), sky);
            painter.setPen(Qt::NoPen);
            SoftShapes::paint(painter, random, image.size(), 12, 60, 300);
            for (int y = 0; y < image.height(); y += 2)
                for (int x = random.bounded(4); x < image.width(); x += 4)
                    image.setPixel(x, y, image.pixel(x, y) ^ (random.bounded(16) * 0x010101));
        } else {
            image.fill(QColor(0xF3, 0xF3, 0xF3));
            for (int p = 0; p < 8; ++p)
                painter.fillRect(random.bounded(1200), random.bounded(800), 100 + random.bounded(500),
                                 40 + random.bounded(300), QColor::fromHsv(random.bounded(360), 60, 230));
            painter.setPen(Qt::darkGray);
            for (int line = 0; line < 60; ++line)
                painter.drawLine(40, 20 + line * 14, 200 + random.bounded(1100), 20 + line * 14);
        }
        painter.end();
        const QString sub = QDir(folder).filePath(QStringLiteral("set%1").arg(i / 100, 2, 10, QLatin1Char('0')));
        QDir().mkpath(sub);
        const QString name = QStringLiteral("img%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(photo ? "jpg" : "png");
        if (!image.save(QDir(sub).filePath(name), photo ? "JPG" : "PNG", photo ? 88 : -1))
            return false;
    }
    return true;
}

int add(const QString &folder)
{
    ConvertImageForm form;
    form.loadSettings();
    form.setReady(true);
    const QAbstractItemModel *rows = form.findChild<QTreeView *>(QStringLiteral("sourceTreeView"))->model();
    QElapsedTimer clock;
    double listed = -1;
    QObject::connect(&form, &ConvertImageForm::showToolbarSignal, &form, [&](bool shown) {
        if (shown && listed < 0)
            listed = clock.nsecsElapsed() / 1e9;
    });
    clock.start();
    emit form.findChild<ConvertImageFrame *>()->addURLs({QUrl::fromLocalFile(folder)});
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&form] {
        if (!form.findChild<ConvertImageAddUrlsThread *>())
            QCoreApplication::quit();
    });
    poll.start(5);
    QApplication::exec();
    const double done = clock.nsecsElapsed() / 1e9;
    int withDetails = 0;
    for (int row = 0; row < rows->rowCount(); ++row)
        withDetails += rows->index(row, 0).data().toString().count(QLatin1Char('\n')) == 2;
    std::printf("listed %d files in %.3f s; icons and sizes of %d done in %.3f s\n", rows->rowCount(), listed,
                withDetails, done);
    return withDetails == rows->rowCount() && rows->rowCount() > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("generate"))
        return generate(args.at(3), args.at(2).toInt()) ? 0 : 1;
    if (args.size() == 3 && args.at(1) == QLatin1String("add"))
        return add(args.at(2));
    std::fprintf(stderr, "usage: ff-intake-bench generate <count> <folder> | add <folder>\n");
    return 2;
}
