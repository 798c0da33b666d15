#pragma once

#include <QString>
#include <QThread>

#include <atomic>

// Lists the pages of one PDF for the split tool. Signals carry the load's
// generation, so the form can drop what a replaced load still reports.
class SplitPDFAddPageThread : public QThread
{
    Q_OBJECT
public:
    SplitPDFAddPageThread(const QString &path, int generation, QObject *parent = nullptr);

    void stop() { stopRequested = true; }

signals:
    // pageCount is 0 for a file that does not open.
    void loadPagesStart(int generation, int pageCount);
    void loadPagesFinish(int generation);

protected:
    void run() override;

private:
    const QString path;
    const int generation;
    std::atomic_bool stopRequested = false;
};
