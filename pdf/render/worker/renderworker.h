#pragma once

#include "pageexporter.h"
#include "renderprotocol.h"

#include <QPdfDocument>

#include <memory>
#include <mutex>

class QDataStream;
class QIODevice;

// The worker process's side of the protocol: one document, requests answered
// in the order they arrive. Export replies may come from encoder threads.
class RenderWorker
{
public:
    explicit RenderWorker(QIODevice &output);

    void handle(const RenderProtocol::Frame &frame);
    // Waits for pages still being encoded.
    void finish();

private:
    enum class Fault { None, Crash, Hang };

    void open(QDataStream &request);
    void index(QDataStream &request);
    QImage renderFitted(QDataStream &request, qint32 &tag);
    void render(QDataStream &request);
    void thumbnail(QDataStream &request);
    void exportPage(QDataStream &request);
    void begin(qint32 tag, int page);
    void reply(quint8 type, const QByteArray &body);

    QIODevice &output;
    std::mutex outputMutex;
    // Replaced rather than closed to let go of the file: a closed
    // QPdfDocument keeps it open.
    std::unique_ptr<QPdfDocument> document;
    PageExporter exporter;
    // Test switch: FOLIOFORGE_RENDER_FAULT=crash:<page number> or hang:<page number>.
    Fault fault = Fault::None;
    int faultPage = -1;
};
