#pragma once

#include "pdfinput.h"

#include <QList>
#include <QStringList>
#include <QThread>

#include <atomic>

// The run of a list tool (merge, password protection) over its listed files.
// A stop takes effect between files. run() works on the thread's own copies,
// so an owner may cut the thread loose (releaseWorker); each subclass's
// destructor requests a stop and waits.
class PdfListToolThread : public QThread
{
    Q_OBJECT
public:
    void requestStop() { stop = true; }
    // The program is closing: a stop that also abandons what is not yet
    // committed, so no file is written after the window has gone.
    void requestDiscard()
    {
        discard = true;
        stop = true;
    }

signals:
    // qpdf's warnings about damage in the sources that the run repaired;
    // comes before the run's end, and only when there are any.
    void damageRepaired(QStringList warnings);

protected:
    PdfListToolThread(const QList<PdfInput> &sources, QObject *parent)
        : QThread(parent)
        , sources(sources)
    {
    }

    const std::atomic_bool &stopFlag() const { return stop; }
    const std::atomic_bool &discardFlag() const { return discard; }
    void reportRepairs(const QStringList &warnings)
    {
        if (!warnings.isEmpty())
            emit damageRepaired(warnings);
    }

    const QList<PdfInput> sources; // the listed files, in list order

private:
    std::atomic_bool stop = false;
    std::atomic_bool discard = false;
};
