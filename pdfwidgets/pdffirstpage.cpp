#include "pdffirstpage.h"

#include "pagejobrunner.h"
#include "pdfopencheck.h"

#include <QDataStream>
#include <QIODevice>

PdfFirstPage readFirstPage(const PdfInput &input, QSize box, const std::atomic_bool &stop)
{
    PdfFirstPage first;
    // A pipe or a device would hold a worker until its watchdog fires.
    first.problem = fileProblem(input.path);
    if (first.problem.failed())
        return first;
    // One worker and one request: a list wants the first page alone, as soon
    // as it is drawn, and nothing of the pages after it.
    PageJobRunner runner(input.path);
    runner.setPassword(input.password);
    QObject::connect(&runner, &PageJobRunner::opened, &runner, [&](const RenderDocumentInfo &info) {
        first.pageCount = info.pageCount;
        if (info.pageCount == 0) {
            if (!stop)
                first.problem = loadProblem(input, info);
            runner.finish();
            return;
        }
        QByteArray body;
        QDataStream out(&body, QIODevice::WriteOnly);
        out << qint32(0) << box;
        runner.addRequests(RenderProtocol::Thumbnail, {body}, 1);
    });
    QObject::connect(&runner, &PageJobRunner::replied, &runner, [&](int, const QByteArray &body) {
        QDataStream stream(body);
        qint32 tag = 0;
        stream >> tag >> first.picture;
        runner.finish();
    });
    // A page that crashes or hangs its worker is listed without a picture.
    QObject::connect(&runner, &PageJobRunner::lost, &runner, [&](int) { runner.finish(); });
    runner.start();
    runner.exec(stop);
    return first;
}
