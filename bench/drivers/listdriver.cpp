#include "listdriver.h"

#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "convertimageframe.h"
#include "dropframe.h"
#include "mergepdfform.h"
#include "pdffilelist.h"
#include "pdflistaddfilethread.h"
#include "pdfmanagerform.h"
#include "splitpdfform.h"
#include "splitpdfglobal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace ListDriver {

namespace {

constexpr int tickMs = 5;
// Stops on the way to the end of the list, and as many back.
constexpr int sweepStops = 25;
constexpr qint64 stopTimeoutNs = 10'000'000'000;
// A jump while the list fills may have to wait for the listing to get there.
constexpr qint64 jumpTimeoutNs = 600'000'000'000;
constexpr int hasThumbnailRole = Qt::UserRole + 0x7417;
// The split tool's placeholder; no picture has this size.
const QSize placeholderSize(200, 200);

struct Setup {
    std::unique_ptr<QWidget> form;
    QAbstractItemView *view = nullptr;
    std::function<void()> start;
    std::function<bool()> listingDone;
    // Whether the list is on screen while it fills.
    bool listShownWhileListing = false;
    // The rows the list will have, known before they are all in (0: unknown).
    std::function<int()> rowsToCome = [] { return 0; };
};

bool noThreadsLeft(const QWidget *form)
{
    return form->findChildren<QThread *>().isEmpty();
}

// The PDFs of a folder, dropped at once onto "Merge PDF" as a user drops a selection.
Setup setUpMerge(const QString &folder)
{
    Setup setup;
    QList<QUrl> urls;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
        urls.append(QUrl::fromLocalFile(dir.filePath(name)));
    auto *form = new MergePdfForm;
    setup.form.reset(form);
    setup.view = form->findChild<QAbstractItemView *>(QStringLiteral("mainListView"));
    setup.start = [form, urls] { emit form->findChild<DropFrame *>()->addURLs(urls); };
    setup.listingDone = [form] { return !form->findChild<PdfFileList *>()->isBusy(); };
    setup.listShownWhileListing = true;
    return setup;
}

Setup setUp(Tool tool, const QString &input)
{
    if (tool == Tool::Merge)
        return setUpMerge(input);
    Setup setup;
    const QList<QUrl> urls{QUrl::fromLocalFile(input)};
    if (tool == Tool::Images) {
        auto *form = new ConvertImageForm;
        form->loadSettings();
        form->setReady(true);
        setup.form.reset(form);
        setup.view = form->findChild<QAbstractItemView *>(QStringLiteral("sourceTreeView"));
        setup.start = [form, urls] { emit form->findChild<ConvertImageFrame *>()->addURLs(urls); };
        setup.listingDone = [form] { return !form->findChild<ConvertImageAddUrlsThread *>(); };
        return setup;
    }
    if (tool == Tool::PdfToImages) {
        setup.form = std::make_unique<PdfManagerForm>();
        setup.view = setup.form->findChild<QAbstractItemView *>(QStringLiteral("listView"));
    } else {
        setup.form = std::make_unique<SplitPDFForm>();
        setup.view = setup.form->findChild<QAbstractItemView *>(QStringLiteral("mainListView"));
        setup.listShownWhileListing = true;
        // Rows go in over several turns of the event loop; the jump aims at
        // the middle of the document, as a user who drags the scroll bar does.
        setup.rowsToCome = [] { return SplitPDFGlobal::pageCount(); };
    }
    QWidget *form = setup.form.get();
    setup.start = [form, urls] { emit form->findChild<DropFrame *>()->addURLs(urls); };
    setup.listingDone = [form] { return noThreadsLeft(form); };
    return setup;
}

// Rows that keep their pictures in a store say whether they show one; for
// others a decoration of a picture's size counts.
bool showsPicture(const QModelIndex &index)
{
    const QVariant known = index.data(hasThumbnailRole);
    if (known.isValid())
        return known.toBool() && !index.data(Qt::DecorationRole).isNull();
    const QVariant decoration = index.data(Qt::DecorationRole);
    QSize size;
    if (decoration.canConvert<QIcon>() && decoration.typeId() == QMetaType::QIcon) {
        const QIcon icon = decoration.value<QIcon>();
        size = icon.isNull() ? QSize() : icon.actualSize(QSize(4096, 4096));
    } else if (decoration.typeId() == QMetaType::QPixmap) {
        size = decoration.value<QPixmap>().deviceIndependentSize().toSize();
    } else if (decoration.typeId() == QMetaType::QImage) {
        size = decoration.value<QImage>().size();
    }
    return !size.isEmpty() && size != placeholderSize;
}

// Runs the steps of one listing on a timer that also records the longest
// time the GUI thread did not get back to its event loop.
class Run : public QObject
{
    enum class Phase { Listing, Jump, WaitForEnd, Sweep };
    static constexpr const char *phaseNames[] = {"listing", "jump", "listing", "end and back"};

public:
    explicit Run(Setup setup)
        : setup(std::move(setup))
    {
    }

    int exec()
    {
        setup.form->resize(1400, 900);
        setup.form->show();
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        connect(&ticker, &QTimer::timeout, this, &Run::tick);
        ticker.start(tickMs);
        clock.start();
        lastTick = 0;
        setup.start();
        loop.exec();
        std::printf("listed %d rows in %.3f s; first picture %.3f s after a jump to the middle%s; "
                    "longest GUI stall %.0f ms (%s, %d rows listed); end and back in %.3f s; "
                    "pictures at a scroll stop: longest %.3f s, median %.3f s; program CPU %.2f s%s\n",
                    rows(), listedNs / 1e9, jumpNs / 1e9,
                    setup.listShownWhileListing ? " (while listing)" : "", longestGapNs / 1e6,
                    phaseNames[int(longestGapPhase)], longestGapRows, sweepNs / 1e9, longestStop(), medianStop(),
                    programCpuSeconds(), failed ? "; a picture never came" : "");
        return failed || rows() == 0 ? 1 : 0;
    }

private:
    int rows() const { return setup.view->model()->rowCount(); }

    double longestStop() const { return stopWaits.empty() ? -1 : *std::max_element(stopWaits.begin(), stopWaits.end()); }

    double medianStop()
    {
        if (stopWaits.empty())
            return -1;
        std::sort(stopWaits.begin(), stopWaits.end());
        return stopWaits[stopWaits.size() / 2];
    }

    // The window's own process, without its render workers.
    static double programCpuSeconds()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
        return seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }

    void tick()
    {
        const qint64 now = clock.nsecsElapsed();
        const double gap = double(now - lastTick - tickMs * 1'000'000LL);
        if (gap > longestGapNs) {
            longestGapNs = gap;
            longestGapPhase = phase;
            longestGapRows = rows();
        }
        step(now);
        lastTick = clock.nsecsElapsed();
    }

    void step(qint64 now)
    {
        if (listedNs < 0 && setup.listingDone())
            listedNs = double(now);
        switch (phase) {
        case Phase::Listing:
            if ((setup.listShownWhileListing && rows() > 0) || listedNs >= 0)
                startStop(qMax(rows(), setup.rowsToCome()) / 2, Phase::Jump);
            break;
        case Phase::Jump:
            if (arrived()) {
                jumpNs = double(now - stopStarted);
                phase = Phase::WaitForEnd;
            }
            break;
        case Phase::WaitForEnd:
            if (listedNs >= 0) {
                sweepStarted = now;
                stop = 0;
                startStop(0, Phase::Sweep);
            }
            break;
        case Phase::Sweep:
            if (!arrived())
                break;
            if (stop > 0)
                stopWaits.push_back(double(now - stopStarted) / 1e9);
            if (++stop > 2 * sweepStops) {
                sweepNs = double(now - sweepStarted);
                loop.quit();
                break;
            }
            {
                const int there = stop <= sweepStops ? stop : 2 * sweepStops - stop;
                startStop(int(qint64(rows() - 1) * there / sweepStops), Phase::Sweep);
            }
            break;
        }
    }

    void startStop(int row, Phase next)
    {
        targetRow = row;
        target = setup.view->model()->index(row, 0);
        stopStarted = clock.nsecsElapsed();
        phase = next;
        if (target.isValid())
            setup.view->scrollTo(target, QAbstractItemView::PositionAtCenter);
    }

    // Whether the target row is on screen with its picture; scrolls again
    // while the list is still being laid out.
    bool arrived()
    {
        if (clock.nsecsElapsed() - stopStarted > (phase == Phase::Jump ? jumpTimeoutNs : stopTimeoutNs)) {
            failed = true;
            return true;
        }
        // The row may not be in the list yet.
        if (!target.isValid())
            target = setup.view->model()->index(targetRow, 0);
        if (!target.isValid())
            return false;
        if (!setup.view->viewport()->rect().intersects(setup.view->visualRect(target))) {
            setup.view->scrollTo(target, QAbstractItemView::PositionAtCenter);
            return false;
        }
        return showsPicture(target);
    }

    Setup setup;
    QEventLoop loop;
    QElapsedTimer clock;
    Phase phase = Phase::Listing;
    QPersistentModelIndex target;
    int targetRow = 0;
    // Seconds from each scroll stop to the picture under the view's centre.
    std::vector<double> stopWaits;
    qint64 lastTick = 0;
    double longestGapNs = 0;
    Phase longestGapPhase = Phase::Listing;
    int longestGapRows = 0;
    qint64 stopStarted = 0;
    qint64 sweepStarted = 0;
    int stop = 0;
    double listedNs = -1;
    double jumpNs = -1;
    double sweepNs = -1;
    bool failed = false;
};

} // namespace

std::optional<Tool> toolNamed(const QString &name)
{
    if (name == QLatin1String("pdf2img"))
        return Tool::PdfToImages;
    if (name == QLatin1String("split"))
        return Tool::Split;
    if (name == QLatin1String("images"))
        return Tool::Images;
    if (name == QLatin1String("merge"))
        return Tool::Merge;
    return std::nullopt;
}

int run(Tool tool, const QString &input)
{
    Run run(setUp(tool, input));
    return run.exec();
}

} // namespace ListDriver
