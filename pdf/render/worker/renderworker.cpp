#include "renderworker.h"

#include "pagerendering.h"

#include <QDataStream>
#include <QIODevice>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

QByteArray bodyOf(const std::function<void(QDataStream &)> &write)
{
    QByteArray body;
    QDataStream stream(&body, QIODevice::WriteOnly);
    write(stream);
    return body;
}

} // namespace

RenderWorker::RenderWorker(QIODevice &output)
    : output(output)
    , document(std::make_unique<QPdfDocument>())
    , exporter([this](int tag, const QString &reason) {
        reply(RenderProtocol::Exported, bodyOf([&](QDataStream &stream) { stream << qint32(tag) << reason; }));
    })
{
    const QString setting = qEnvironmentVariable("FOLIOFORGE_RENDER_FAULT");
    const QString kind = setting.section(QLatin1Char(':'), 0, 0);
    bool ok = false;
    faultPage = setting.section(QLatin1Char(':'), 1, 1).toInt(&ok) - 1;
    if (ok && kind == QLatin1String("crash"))
        fault = Fault::Crash;
    else if (ok && kind == QLatin1String("hang"))
        fault = Fault::Hang;
}

void RenderWorker::handle(const RenderProtocol::Frame &frame)
{
    QDataStream request(frame.body);
    switch (frame.type) {
    case RenderProtocol::Open:
        open(request);
        break;
    case RenderProtocol::Render:
        render(request);
        break;
    case RenderProtocol::Thumbnail:
        thumbnail(request);
        break;
    case RenderProtocol::Export:
        exportPage(request);
        break;
    case RenderProtocol::Index:
        index(request);
        break;
    case RenderProtocol::Close:
        exporter.finish();
        document = std::make_unique<QPdfDocument>();
        break;
    default:
        break;
    }
}

void RenderWorker::finish()
{
    exporter.finish();
}

void RenderWorker::open(QDataStream &request)
{
    QString path;
    QString password;
    request >> path >> password;
    exporter.finish();
    document = std::make_unique<QPdfDocument>();
    document->setPassword(password);
    const QPdfDocument::Error error = document->load(path);
    const bool loaded = document->status() == QPdfDocument::Status::Ready;
    const qint32 pageCount = loaded ? document->pageCount() : 0;
    const QSize pageSize = document->pagePointSize(0).toSize();
    reply(RenderProtocol::Opened, bodyOf([&](QDataStream &stream) {
              stream << (loaded && pageCount > 0) << pageCount << pageSize << qint32(error);
          }));
}

// The engine finds a page by walking the page tree up to it and remembers
// every page it passed: on a long document the first far page costs a long
// walk. Asking for a page's size takes the walk up to it ahead of time.
void RenderWorker::index(QDataStream &request)
{
    qint32 page = 0;
    request >> page;
    if (page >= 0 && page < document->pageCount())
        document->pagePointSize(page);
    reply(RenderProtocol::Indexed, bodyOf([&](QDataStream &stream) { stream << page; }));
}

// Render and Thumbnail requests: the page fitted into a box, not yet on white.
QImage RenderWorker::renderFitted(QDataStream &request, qint32 &tag)
{
    qint32 page = 0;
    QSize box;
    request >> tag >> page >> box;
    begin(tag, page);
    return renderPage(*document, page, fitIntoBox(document->pagePointSize(0).toSize(), box));
}

void RenderWorker::render(QDataStream &request)
{
    qint32 tag = 0;
    const QImage image = flattenOntoWhite(renderFitted(request, tag));
    reply(RenderProtocol::Image, bodyOf([&](QDataStream &stream) {
              stream << tag;
              RenderProtocol::writeImage(stream, image);
          }));
}

// Drawn at the size the list shows and compressed as the list keeps it (put
// on white on the way), so the program only stores what arrives.
void RenderWorker::thumbnail(QDataStream &request)
{
    qint32 tag = 0;
    const QByteArray encoded = encodeThumbnail(renderFitted(request, tag));
    reply(RenderProtocol::Encoded, bodyOf([&](QDataStream &stream) { stream << tag << encoded; }));
}

void RenderWorker::exportPage(QDataStream &request)
{
    qint32 tag = 0;
    qint32 page = 0;
    QString fileName;
    qint32 format = 0;
    qint32 scaleIndex = 0;
    qint64 budget = 0;
    qint32 encoderThreads = 0;
    request >> tag >> page >> fileName >> format >> scaleIndex >> budget >> encoderThreads;
    begin(tag, page);
    exporter.setBudget(budget, encoderThreads);
    exporter.exportPage(*document, {tag, page, fileName, pageImageFormat(format), scaleIndex});
}

void RenderWorker::begin(qint32 tag, int page)
{
    reply(RenderProtocol::Begin, bodyOf([&](QDataStream &stream) { stream << tag; }));
    if (page != faultPage)
        return;
    if (fault == Fault::Crash)
        std::_Exit(70);
    while (fault == Fault::Hang)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

void RenderWorker::reply(quint8 type, const QByteArray &body)
{
    const QByteArray frame = RenderProtocol::encode(type, body);
    const std::lock_guard lock(outputMutex);
    output.write(frame);
}
