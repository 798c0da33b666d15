#include "pdffilelist.h"

#include "pdflistaddfilethread.h"

#include <QIcon>
#include <QPixmap>
#include <QStandardItemModel>

namespace {
// Windows and macOS file systems ignore letter case in names; Linux ones do not.
constexpr Qt::CaseSensitivity fileNameCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif
} // namespace

PdfFileList::PdfFileList(ThreadFactory makeThread, QObject *parent)
    : QObject(parent)
    , makeThread(std::move(makeThread))
    , items(new QStandardItemModel(this))
{
}

PdfFileList::~PdfFileList()
{
    delete running.data(); // stops and waits
}

int PdfFileList::rowCount() const
{
    return items->rowCount();
}

bool PdfFileList::containsPath(const QStringList &paths, const QString &path)
{
    return paths.contains(path, fileNameCase);
}

void PdfFileList::add(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    filePaths += paths;
    waiting += paths;
    if (!running)
        startNext();
}

void PdfFileList::removeRow(int row)
{
    if (row < 0 || row >= items->rowCount())
        return;
    items->removeRow(row);
    filePaths.removeAt(row);
}

void PdfFileList::movePath(int source, int target)
{
    if (source < 0 || source >= filePaths.size() || target < 0 || target >= filePaths.size())
        return;
    filePaths.move(source, target);
}

void PdfFileList::clear()
{
    ++generation;
    if (running)
        running->requestStop();
    waiting.clear();
    filePaths.clear();
    items->removeRows(0, items->rowCount());
}

void PdfFileList::startNext()
{
    if (waiting.isEmpty())
        return;
    running = makeThread(waiting, generation);
    waiting.clear();
    running->setParent(this);
    connect(running, &PdfListAddFileThread::fileListed, this, &PdfFileList::appendRow);
    connect(running, &PdfListAddFileThread::filesAdded, this, &PdfFileList::filesAdded);
    connect(running, &QThread::finished, this, [this, thread = running.data()] {
        thread->deleteLater();
        if (running == thread)
            running = nullptr;
        startNext();
    });
    running->start(QThread::InheritPriority);
}

void PdfFileList::appendRow(int listedGeneration, int pageCount, const QImage &firstPage)
{
    if (listedGeneration != generation)
        return;
    auto *item = new QStandardItem(QStringLiteral("1-%1").arg(pageCount));
    if (!firstPage.isNull())
        item->setIcon(QIcon(QPixmap::fromImage(firstPage)));
    else if (pageCount > 0)
        item->setIcon(QIcon(QStringLiteral(":/resources/images/_PDF128.png")));
    item->setCheckable(false);
    item->setEditable(false);
    item->setDropEnabled(false);
    items->appendRow(item);
}
