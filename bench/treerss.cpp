#include "treerss.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>
#include <QStringList>

#include <chrono>

namespace {

constexpr auto interval = std::chrono::milliseconds(20);
// Looking for new descendants means reading every process's stat: less often.
constexpr int samplesPerScan = 5;

long long residentKb(const QString &pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

QStringList descendants()
{
    QHash<QString, QStringList> children;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        children[QString::fromLatin1(fields.value(1))].append(pid);
    }
    QStringList tree;
    QStringList pending{QString::number(QCoreApplication::applicationPid())};
    while (!pending.isEmpty()) {
        const QString pid = pending.takeLast();
        tree.append(pid);
        pending += children.value(pid);
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
    QStringList tree;
    for (int round = 0; running; ++round) {
        if (round % samplesPerScan == 0)
            tree = descendants();
        long long now = 0;
        for (const QString &pid : std::as_const(tree))
            now += residentKb(pid);
        if (now > peak)
            peak = now;
        std::this_thread::sleep_for(interval);
    }
}
