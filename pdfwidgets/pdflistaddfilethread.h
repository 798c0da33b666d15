#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QThread>

#include <atomic>

// Reads the page count and first page of each PDF in a list, in order, for
// the file lists of the merge and password tools. The rows themselves are
// made on the GUI thread from fileListed.
class PdfListAddFileThread : public QThread
{
    Q_OBJECT
public:
    PdfListAddFileThread(const QList<PdfInput> &inputs, int generation, QObject *parent = nullptr);
    ~PdfListAddFileThread() override;

    void requestStop() { stop = true; }
    // The box (device pixels) first pages are drawn to fit; set before start().
    void setPictureBox(QSize box) { pictureBox = box; }

signals:
    // firstPage is the compressed picture, empty when not drawn; problem says
    // why when the file did not open (pageCount 0).
    void fileListed(int generation, int pageCount, QByteArray firstPage, PdfOpenProblem problem);
    void filesAdded();

protected:
    void run() override;

private:
    const QList<PdfInput> inputs;
    const int generation;
    QSize pictureBox{200, 200};
    std::atomic_bool stop = false;
};
