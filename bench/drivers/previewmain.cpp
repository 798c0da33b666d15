// Benchmark driver for the images tool's small preview; bench/run preview calls it.
//   ff-preview-bench burst <image>   ten preview requests 5 ms apart, as a slider drag
//                                    sends them; reports the workers started and the
//                                    time from the last request to the picture
//   ff-preview-bench thumb <image>   one preview made from scratch (decode, fit,
//                                    WEBP thumbnail), as on first selecting a file
//   ff-preview-bench zoom <image>    the full preview window: opens the image, zooms
//                                    in step by step to the largest zoom and visits
//                                    its corners; reports the longest step with its
//                                    paint
#include "convertimagefullpreviewlabel.h"
#include "convertimagepreviewcontroller.h"
#include "convertimagepreviewlabel.h"
#include "previewdialog.h"
#include "thumbnailcache.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

int burst(const QString &path)
{
    ConvertImagePreviewLabel label;
    label.setFixedSize(400, 231);
    ConvertImagePreviewController controller(&label, nullptr);
    int started = 0;
    QObject::connect(&controller, &ConvertImagePreviewController::workerStarted, [&started] { ++started; });
    QElapsedTimer sinceLast;
    int sent = 0;
    QTimer requests;
    requests.setInterval(5);
    QObject::connect(&requests, &QTimer::timeout, [&] {
        controller.request(path, true);
        sinceLast.start();
        if (++sent == 10)
            requests.stop();
    });
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (sent == 10 && label.hasImage() && !controller.isLoading())
            QCoreApplication::quit();
    });
    requests.start();
    poll.start();
    QApplication::exec();
    std::printf("workers started: %d\nlast request to picture: %lld ms\n", started,
                static_cast<long long>(sinceLast.elapsed()));
    return started == 1 ? 0 : 1;
}

int thumb(const QString &path)
{
    std::atomic_bool stop{false};
    QSize size;
    const ThumbnailCache::Outcome outcome = ThumbnailCache::preview(
        path, QSize(400, 231), true, ConvertSettings(), stop, [&size](const QImage &image) { size = image.size(); });
    std::printf("preview %dx%d\n", size.width(), size.height());
    return outcome == ThumbnailCache::Outcome::Generated ? 0 : 1;
}

int zoom(const QString &path)
{
    PreviewDialog dialog;
    dialog.resize(1200, 900);
    dialog.show();
    dialog.loadImage(path);
    const QDeadlineTimer deadline(120000);
    while (dialog.isLoading() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    auto *label = dialog.findChild<ConvertImageFullPreviewLabel *>(QStringLiteral("previewLabel"));
    auto *area = dialog.findChild<QScrollArea *>(QStringLiteral("scrollArea"));
    if (dialog.isLoading() || !label || !area)
        return 1;
    qint64 longest = 0;
    // One step as the window takes it: the zoom, then the paint of what is on screen.
    const auto timed = [&](const std::function<void()> &step) {
        QElapsedTimer timer;
        timer.start();
        step();
        area->viewport()->repaint();
        QCoreApplication::processEvents();
        longest = qMax(longest, timer.elapsed());
    };
    const int fitted = dialog.displayedWidth();
    int steps = 0;
    for (int before = -1; before != dialog.displayedWidth(); ++steps) {
        before = dialog.displayedWidth();
        timed([label] { emit label->needToResizeImage(1); });
    }
    for (const auto &[right, bottom] : {std::pair{1, 0}, std::pair{1, 1}, std::pair{0, 1}, std::pair{0, 0}}) {
        timed([area, right, bottom] {
            area->horizontalScrollBar()->setValue(right * area->horizontalScrollBar()->maximum());
            area->verticalScrollBar()->setValue(bottom * area->verticalScrollBar()->maximum());
        });
    }
    std::printf("zoomed in %d steps from %d to %d pixels wide\nlongest step with its paint: %lld ms\n", steps - 1,
                fitted, dialog.displayedWidth(), static_cast<long long>(longest));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString mode = arguments.value(1);
    if (arguments.size() != 3 ||
        (mode != QLatin1String("burst") && mode != QLatin1String("thumb") && mode != QLatin1String("zoom"))) {
        std::fprintf(stderr, "usage: ff-preview-bench burst|thumb|zoom <image>\n");
        return 2;
    }
    if (mode == QLatin1String("zoom"))
        return zoom(arguments.at(2));
    return mode == QLatin1String("burst") ? burst(arguments.at(2)) : thumb(arguments.at(2));
}
