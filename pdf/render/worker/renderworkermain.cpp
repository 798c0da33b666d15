// folioforge-render: the PDF engine in a process of its own. The program
// talks to it over stdin/stdout; a page that hangs or crashes the engine
// takes only this process with it.
#include "renderprotocol.h"
#include "renderworker.h"

#include <QCoreApplication>
#include <QFile>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#define ff_dup _dup
#define ff_dup2 _dup2
#else
#include <unistd.h>
#define ff_dup dup
#define ff_dup2 dup2
#endif

namespace {

// Requests are read on a thread of their own so that the end of input is
// noticed even while a page renders: the program has gone, so must we.
class RequestQueue
{
public:
    void push(RenderProtocol::Frame frame)
    {
        {
            const std::lock_guard lock(mutex);
            frames.push_back(std::move(frame));
        }
        added.notify_one();
    }

    RenderProtocol::Frame pop()
    {
        std::unique_lock lock(mutex);
        added.wait(lock, [this] { return !frames.empty(); });
        RenderProtocol::Frame frame = std::move(frames.front());
        frames.pop_front();
        return frame;
    }

private:
    std::mutex mutex;
    std::condition_variable added;
    std::deque<RenderProtocol::Frame> frames;
};

} // namespace

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // Every page is a buffer of up to 256 MB (see PageExporter). By default
    // glibc maps each one afresh and unmaps it when the page is written, so
    // every page pays for faulting in and zeroing its memory again; kept in
    // the heap, the next page reuses it. The encoder queue's budget still
    // bounds how much of it there is.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#endif
    QCoreApplication application(argc, argv);
#ifdef Q_OS_WIN
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
#endif
    // Replies get a private copy of stdout; anything a library prints goes to
    // stderr instead of into the frames.
    const int replyHandle = ff_dup(1);
    ff_dup2(2, 1);
    QFile input;
    QFile output;
    if (replyHandle < 0 || !input.open(0, QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        !output.open(replyHandle, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 1;

    RequestQueue requests;
    std::thread reader([&] {
        RenderProtocol::Frame frame;
        while (RenderProtocol::readFrame(input, frame))
            requests.push(std::move(frame));
        std::fflush(stderr);
        std::_Exit(0);
    });
    reader.detach();

    RenderWorker worker(output);
    for (;;)
        worker.handle(requests.pop());
}
