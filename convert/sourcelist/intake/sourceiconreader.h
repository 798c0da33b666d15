#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

// Reads again, once no intake runs, the icons of listed sources that the list
// let go of to stay within its budget and now shows again: the latest wishes
// first. Ends when it has nothing left to read.
class SourceIconReader : public QThread
{
    Q_OBJECT
public:
    // `generation` tells the list which of its contents the icons belong to.
    explicit SourceIconReader(int generation, QObject *parent = nullptr);
    ~SourceIconReader() override;

    const int generation;

    // These paths go before those wished for earlier. False once the thread
    // has stopped taking wishes: the caller then needs a new one.
    bool prefer(const QStringList &paths);
    void requestStop() { stopFlag = true; }

signals:
    // As the intake reports a file's details.
    void iconRead(QByteArray icon, QString fileName, QString path, QString sizeStr);

protected:
    void run() override;

private:
    bool take(QString &path);

    QMutex lock; // guards wished and taking
    QStringList wished;
    bool taking = true;
    std::atomic_bool stopFlag{false};
};
