#include "treerss.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

#include <chrono>

#include <unistd.h>

namespace {

constexpr auto interval = std::chrono::milliseconds(20);

// Sampling runs inside the measured process, so its CPU time counts as ours:
// it reads only the few small files of the tree itself, never all of /proc.
QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return file.read(4096);
}

long long residentKb(const QString &pid)
{
    // statm: size resident shared ... in pages.
    static const long long pageKb = sysconf(_SC_PAGESIZE) / 1024;
    const QByteArray statm = readSmallFile(QStringLiteral("/proc/%1/statm").arg(pid));
    const qsizetype start = statm.indexOf(' ') + 1;
    const qsizetype end = statm.indexOf(' ', start);
    return start > 0 && end > start ? statm.mid(start, end - start).toLongLong() * pageKb : 0;
}

// This process and its descendants, through each thread's list of children.
QStringList descendants()
{
    QStringList tree;
    QStringList pending{QString::number(QCoreApplication::applicationPid())};
    while (!pending.isEmpty()) {
        const QString pid = pending.takeLast();
        tree.append(pid);
        const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QByteArray children = readSmallFile(tasks + QLatin1Char('/') + task + QStringLiteral("/children"));
            for (const QByteArray &child : children.split(' ')) {
                if (!child.trimmed().isEmpty())
                    pending.append(QString::fromLatin1(child.trimmed()));
            }
        }
    }
    return tree;
}

} // namespace

TreeRss::TreeRss()
    : sampler(&TreeRss::sample, this)
{
}

TreeRss::~TreeRss()
{
    running = false;
    sampler.join();
}

void TreeRss::sample()
{
    while (running) {
        const QStringList tree = descendants();
        long long now = 0;
        for (const QString &pid : std::as_const(tree))
            now += residentKb(pid);
        if (now > peak)
            peak = now;
        std::this_thread::sleep_for(interval);
    }
}
