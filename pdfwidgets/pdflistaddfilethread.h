#pragma once

#include <QImage>
#include <QStringList>
#include <QThread>

#include <atomic>

// Reads the page count and first page of each PDF in a list, in order, for
// the file lists of the merge and password tools. The rows themselves are
// made on the GUI thread from fileListed.
class PdfListAddFileThread : public QThread
{
    Q_OBJECT
public:
    PdfListAddFileThread(const QStringList &paths, int generation, QObject *parent = nullptr);
    ~PdfListAddFileThread() override;

    void requestStop() { stop = true; }

signals:
    // firstPage is null when the file did not open (pageCount 0).
    void fileListed(int generation, int pageCount, QImage firstPage);
    void filesAdded();

protected:
    void run() override;

private:
    const QStringList paths;
    const int generation;
    std::atomic_bool stop = false;
};
