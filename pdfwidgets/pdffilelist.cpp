#include "pdffilelist.h"

#include "pdflistaddfilethread.h"
#include "pdfopenreport.h"
#include "pdfpassworddialog.h"

#include <QIcon>
#include <QPixmap>
#include <QStandardItemModel>
#include <QWidget>

namespace {
// Windows and macOS file systems ignore letter case in names; Linux ones do not.
constexpr Qt::CaseSensitivity fileNameCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif
} // namespace

PdfFileList::PdfFileList(ThreadFactory makeThread, const QString &title, QWidget *form)
    : QObject(form)
    , makeThread(std::move(makeThread))
    , title(title)
    , form(form)
    , items(new QStandardItemModel(this))
{
}

PdfFileList::~PdfFileList()
{
    delete running.data(); // stops and waits
}

QList<PdfInput> PdfFileList::inputs() const
{
    QList<PdfInput> listed;
    listed.reserve(filePaths.size());
    for (qsizetype i = 0; i < filePaths.size(); ++i)
        listed.append({filePaths.at(i), passwords.at(i)});
    return listed;
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
    QList<PdfInput> added;
    for (const QString &path : paths)
        added.append({path, QString()});
    enqueue(added);
}

void PdfFileList::enqueue(const QList<PdfInput> &inputs)
{
    if (inputs.isEmpty())
        return;
    for (const PdfInput &input : inputs) {
        filePaths.append(input.path);
        passwords.append(input.password);
    }
    waiting += inputs;
    if (!running)
        startNext();
}

void PdfFileList::removeRow(int row)
{
    if (row < 0 || row >= items->rowCount())
        return;
    items->removeRow(row);
    filePaths.removeAt(row);
    passwords.removeAt(row);
}

void PdfFileList::movePath(int source, int target)
{
    if (source < 0 || source >= filePaths.size() || target < 0 || target >= filePaths.size())
        return;
    filePaths.move(source, target);
    passwords.move(source, target);
}

void PdfFileList::clear()
{
    ++generation;
    if (running)
        running->requestStop();
    waiting.clear();
    filePaths.clear();
    passwords.clear();
    passwordWanted.clear();
    leftOut.clear();
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
    connect(running, &QThread::finished, this, [this, thread = running.data()] {
        thread->deleteLater();
        if (running == thread) {
            running = nullptr;
            onThreadFinished();
        }
    });
    running->start(QThread::InheritPriority);
}

void PdfFileList::onThreadFinished()
{
    if (!waiting.isEmpty()) {
        startNext();
        return;
    }
    // Questions wait for the end of the intake, so that a batch asks once
    // per file and reports once.
    asking = true;
    const int asked = generation;
    const QStringList wanted = std::exchange(passwordWanted, {});
    QList<PdfInput> unlocked;
    for (const QString &path : wanted) {
        if (const std::optional<QString> password = PdfPasswordDialog::ask(form, path))
            unlocked.append({path, *password});
    }
    asking = false;
    if (asked != generation)
        return;
    if (!unlocked.isEmpty()) {
        enqueue(unlocked);
        return;
    }
    reportUnopenedPdfs(form, title, std::exchange(leftOut, {}));
    emit filesAdded();
}

void PdfFileList::appendRow(int listedGeneration, int pageCount, const QImage &firstPage, const PdfOpenProblem &problem)
{
    if (listedGeneration != generation)
        return;
    const int row = items->rowCount();
    if (problem.failed()) {
        const QString path = filePaths.takeAt(row);
        passwords.removeAt(row);
        if (problem.needsPassword())
            passwordWanted.append(path);
        else
            leftOut.append(problem.describe(path));
        return;
    }
    auto *item = new QStandardItem(QStringLiteral("1-%1").arg(pageCount));
    if (!firstPage.isNull())
        item->setIcon(QIcon(QPixmap::fromImage(firstPage)));
    else
        item->setIcon(QIcon(QStringLiteral(":/resources/images/_PDF128.png")));
    item->setCheckable(false);
    item->setEditable(false);
    item->setDropEnabled(false);
    items->appendRow(item);
}
