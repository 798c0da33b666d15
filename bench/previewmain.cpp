// Benchmark driver for the images tool's small preview; bench/run preview calls it.
//   ff-preview-bench burst <image>   ten preview requests 5 ms apart, as a slider drag
//                                    sends them; reports the workers started and the
//                                    time from the last request to the picture
//   ff-preview-bench thumb <image>   one preview made from scratch (decode, fit,
//                                    WEBP thumbnail), as on first selecting a file
#include "convertimagepreviewcontroller.h"
#include "convertimagepreviewlabel.h"
#include "thumbnailcache.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 ||
        (arguments.at(1) != QLatin1String("burst") && arguments.at(1) != QLatin1String("thumb"))) {
        std::fprintf(stderr, "usage: ff-preview-bench burst|thumb <image>\n");
        return 2;
    }
    return arguments.at(1) == QLatin1String("burst") ? burst(arguments.at(2)) : thumb(arguments.at(2));
}
