#include "pagethumbnails.h"

#include "pagerendering.h"

#include <QDataStream>
#include <QIODevice>

#include <map>

void listPageThumbnails(const PdfInput &input, QSize box, const std::atomic_bool &stop,
                        const std::function<void(const PdfPageListing &)> &listed,
                        const std::function<void(int pageNumber)> &beforePage,
                        const std::function<void(int page, const QImage &thumbnail)> &pageReady,
                        const RenderTimeouts &timeouts)
{
    PageJobRunner runner(input.path, timeouts);
    runner.setPassword(input.password);
    int pageCount = 0;
    int next = 0;
    QImage blank;
    // Pages answered ahead of their turn wait here.
    std::map<int, QImage> arrived;
    const auto deliver = [&] {
        for (auto found = arrived.find(next); found != arrived.end(); found = arrived.find(next)) {
            if (stop)
                return;
            beforePage(next + 1);
            pageReady(next, found->second);
            arrived.erase(found);
            ++next;
        }
        if (next == pageCount)
            runner.finish();
    };

    QObject::connect(&runner, &PageJobRunner::opened, &runner, [&](const RenderDocumentInfo &info) {
        pageCount = info.pageCount;
        PdfOpenProblem problem;
        if (pageCount == 0 && !stop)
            problem =
                explainFailedLoad(input.path, input.password, info.loadError == QPdfDocument::Error::IncorrectPassword);
        listed({pageCount, info.pageSize, problem});
        if (pageCount == 0 || stop) {
            runner.finish();
            return;
        }
        const QSize size = fitIntoBox(info.pageSize, box);
        if (!size.isEmpty()) {
            blank = QImage(size, QImage::Format_RGB32);
            blank.fill(Qt::white);
        }
        QList<QByteArray> bodies;
        bodies.reserve(pageCount);
        for (int page = 0; page < pageCount; ++page) {
            QByteArray body;
            QDataStream out(&body, QIODevice::WriteOnly);
            out << qint32(page) << box;
            bodies.append(body);
        }
        runner.addRequests(RenderProtocol::Render, bodies, PageJobRunner::workerCountFor(pageCount));
    });
    QObject::connect(&runner, &PageJobRunner::replied, &runner, [&](int tag, const QByteArray &body) {
        QDataStream stream(body);
        qint32 skippedTag = 0;
        stream >> skippedTag;
        arrived[tag] = RenderProtocol::readImage(stream);
        deliver();
    });
    QObject::connect(&runner, &PageJobRunner::lost, &runner, [&](int tag) {
        arrived[tag] = blank;
        deliver();
    });
    runner.start();
    runner.exec(stop);
}
