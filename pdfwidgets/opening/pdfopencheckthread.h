#pragma once

#include "pdfinput.h"
#include "pdfopenproblem.h"

#include <QThread>

#include <atomic>

// Asks whether a PDF opens with a password, away from the GUI thread.
class PdfOpenCheckThread : public QThread
{
    Q_OBJECT
public:
    explicit PdfOpenCheckThread(const PdfInput &input, QObject *parent = nullptr);
    // A stop ends the check within a few milliseconds, so this wait is short.
    ~PdfOpenCheckThread() override;

    void requestStop() { stop = true; }

signals:
    // Not emitted after a stop.
    void checked(PdfOpenProblem problem);

protected:
    void run() override;

private:
    const PdfInput input;
    std::atomic_bool stop = false;
};
