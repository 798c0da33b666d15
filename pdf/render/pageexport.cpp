#include "pageexport.h"

#include "pageexporttext.h"
#include "pageimagewriter.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>
#include <QThread>

#include <map>

namespace {

// Rendered pages waiting for an encoder, shared by all workers of a job.
constexpr qint64 bytesInFlight = qint64(112) * 1024 * 1024;

} // namespace

QString pageTargetFileName(const QString &folder, int page, int format)
{
    static const char *const extensions[] = {".jpg", ".png", ".webp"};
    return folder + QLatin1Char('/') + QString::number(page + 1) +
           QLatin1String(extensions[int(pageImageFormat(format))]);
}

PageExportResult exportPages(const PageExportJob &job, const std::function<void(int position)> &progress,
                             const std::atomic_bool &stop, const RenderTimeouts &timeouts)
{
    PageExportResult result;
    const qsizetype total = job.pages.size();
    std::vector<bool> done(size_t(total), false);
    QStringList fileNames;
    // Requests go out only for pages to write; tag i stands for position requested[i].
    QList<int> requested;
    for (int position = 0; position < total; ++position) {
        const QString fileName = pageTargetFileName(job.folder, job.pages.at(position), job.format);
        fileNames.append(fileName);
        if (!job.overwrite && QFileInfo::exists(fileName)) {
            result.fileExistsList.append(fileName);
            result.pageExistsList.append(job.pages.at(position));
            done[size_t(position)] = true;
        } else {
            requested.append(position);
        }
    }

    int reported = -1;
    qsizetype frontier = 0;
    const auto advance = [&] {
        while (frontier < total && done[size_t(frontier)])
            ++frontier;
        const int last = int(qMin(frontier, total - 1));
        while (reported < last && !stop)
            progress(++reported);
    };
    advance();
    if (requested.isEmpty() || stop) {
        result.stopped = bool(stop);
        return result;
    }

    const int workerCount = PageJobRunner::workerCountFor(int(requested.size()), job.maxWorkers);
    const int encoderThreads = qMax(1, qMin(QThread::idealThreadCount(), 4) / workerCount);
    QList<QByteArray> bodies;
    for (int position : std::as_const(requested)) {
        QByteArray body;
        QDataStream out(&body, QIODevice::WriteOnly);
        out << qint32(job.pages.at(position)) << fileNames.at(position) << qint32(job.format) << qint32(job.scaleIndex)
            << qint64(bytesInFlight / workerCount) << qint32(encoderThreads);
        bodies.append(body);
    }

    std::map<int, PageExportFailure> failures;
    qsizetype remaining = requested.size();
    bool loaded = false;
    PageJobRunner runner(job.pdfPath, timeouts);
    runner.setPassword(job.pdfPassword);
    const auto complete = [&](int tag, const QString &reason) {
        const int position = requested.at(tag);
        if (!reason.isEmpty())
            failures.emplace(position, PageExportFailure{job.pages.at(position), fileNames.at(position), reason});
        done[size_t(position)] = true;
        advance();
        if (--remaining == 0)
            runner.finish();
    };
    QObject::connect(&runner, &PageJobRunner::opened, &runner, [&](const RenderDocumentInfo &info) {
        loaded = info.loaded;
        result.pageSize = info.pageSize;
    });
    QObject::connect(&runner, &PageJobRunner::replied, &runner, [&](int tag, const QByteArray &body) {
        QDataStream stream(body);
        qint32 skippedTag = 0;
        QString reason;
        stream >> skippedTag >> reason;
        complete(tag, reason);
    });
    QObject::connect(&runner, &PageJobRunner::lost, &runner, [&](int tag) {
        const int number = job.pages.at(requested.at(tag)) + 1;
        complete(tag,
                 loaded
                     ? PageExportText::tr("Page %1 was not exported: the page could not be rendered.").arg(number)
                     : PageExportText::tr("Page %1 was not exported: the PDF file could not be opened.").arg(number));
    });
    // A worker killed while writing leaves its temporary file; only those
    // this run can have made go, a file of that name already there stays.
    QSet<QString> foundBefore;
    for (int position : std::as_const(requested)) {
        const QString temporary = pageTemporaryFileName(fileNames.at(position));
        if (QFileInfo::exists(temporary))
            foundBefore.insert(temporary);
    }
    QObject::connect(&runner, &PageJobRunner::abandoned, &runner, [&](const QList<int> &tags) {
        for (int tag : tags) {
            const QString temporary = pageTemporaryFileName(fileNames.at(requested.at(tag)));
            if (!foundBefore.contains(temporary))
                QFile::remove(temporary);
        }
    });
    runner.start();
    runner.addRequests(RenderProtocol::Export, bodies, workerCount);
    result.stopped = !runner.exec(stop);
    for (auto &entry : failures)
        result.failures.append(std::move(entry.second));
    return result;
}
