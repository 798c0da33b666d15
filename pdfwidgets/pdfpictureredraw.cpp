#include "pdfpictureredraw.h"

#include "pdflistaddfilethread.h"
#include "workerrelease.h"

PdfPictureRedraw::PdfPictureRedraw(QObject *parent)
    : QObject(parent)
{
}

PdfPictureRedraw::~PdfPictureRedraw()
{
    releaseWorker(running.data());
}

void PdfPictureRedraw::request(const QList<File> &files, QSize pictureBox)
{
    box = pictureBox;
    QList<File> next;
    const auto among = [](const QList<File> &list, quint64 id) {
        return std::any_of(list.cbegin(), list.cend(), [id](const File &file) { return file.first == id; });
    };
    for (const File &file : files) {
        if (!drawing.contains(file.first) && !among(next, file.first))
            next.append(file);
    }
    for (const File &file : std::as_const(wished)) {
        if (!among(next, file.first))
            next.append(file);
    }
    wished = next;
    if (!running)
        startRound();
}

void PdfPictureRedraw::cancel()
{
    wished.clear();
    drawing.clear();
    ++round;
    if (running)
        running->requestStop();
}

void PdfPictureRedraw::startRound()
{
    if (wished.isEmpty())
        return;
    const QList<File> files = wished.mid(0, filesPerRound);
    wished.remove(0, files.size());
    QList<PdfInput> inputs;
    drawing.clear();
    for (const File &file : files) {
        inputs.append(file.second);
        drawing.append(file.first);
    }
    running = new PdfListAddFileThread(inputs, ++round, this);
    running->setPictureBox(box);
    connect(running, &PdfListAddFileThread::fileListed, this,
            [this](int listedRound, int, const QByteArray &picture) {
                if (listedRound != round || drawing.isEmpty())
                    return;
                const quint64 id = drawing.takeFirst();
                if (!picture.isEmpty())
                    emit pictureRead(id, picture);
            });
    connect(running, &QThread::finished, this, [this, thread = running.data()] {
        thread->deleteLater();
        if (running == thread) {
            running = nullptr;
            startRound();
        }
    });
    running->start(QThread::InheritPriority);
}
