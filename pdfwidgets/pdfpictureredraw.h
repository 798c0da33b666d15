#pragma once

#include "pdfinput.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <utility>

class PdfListAddFileThread;

// Draws again the first pages a file list let go of to stay within its
// budget, when a view shows their rows: a few at a time, the latest wishes
// first, each file read afresh in a render worker off the GUI thread.
class PdfPictureRedraw : public QObject
{
    Q_OBJECT
public:
    using File = std::pair<quint64, PdfInput>;
    // Files drawn per worker thread; wishes that come meanwhile go next.
    static constexpr int filesPerRound = 8;

    explicit PdfPictureRedraw(QObject *parent = nullptr);
    ~PdfPictureRedraw() override;

    // These files (in this order) go before all asked for earlier and not begun.
    void request(const QList<File> &files, QSize box);
    // Forgets every wish; pictures still being drawn are not reported.
    void cancel();

signals:
    void pictureRead(quint64 id, const QByteArray &picture);

private:
    void startRound();

    QList<File> wished;
    QList<quint64> drawing; // the running round's ids, in its order
    QPointer<PdfListAddFileThread> running;
    QSize box;
    int round = 0;
};
