#include "pdffilelist.h"

#include "pageedge.h"
#include "pdffileitemdelegate.h"
#include "pdflistaddfilethread.h"
#include "pdfopenreport.h"
#include "pdfpassworddialog.h"
#include "pdfpictureredraw.h"
#include "thumbnailitem.h"
#include "thumbnailstore.h"
#include "workerrelease.h"

#include <QFileInfo>
#include <QStandardItemModel>
#include <QTimer>
#include <QWidget>

namespace {
// Windows and macOS file systems ignore letter case in names; Linux ones do not.
constexpr Qt::CaseSensitivity fileNameCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif
// Rows read in a burst join the model together: one insertion per batch, not per file.
constexpr int arrivalBatchRows = 256;
constexpr int arrivalBatchMs = 50;
} // namespace

PdfFileList::PdfFileList(ThreadFactory makeThread, const QString &title, QWidget *form, ThumbnailStore *pictures)
    : QObject(form)
    , makeThread(std::move(makeThread))
    , title(title)
    , form(form)
    , items(new QStandardItemModel(this))
    , pictures(pictures ? pictures : new ThumbnailStore(this))
    , redraw(new PdfPictureRedraw(this))
    , pdfIcon(QStringLiteral(":/resources/images/_PDF128.png"))
    , arrivalTimer(new QTimer(this))
{
    this->pictures->setPlaceholder(pdfIcon);
    this->pictures->setDecorator(drawPageEdge);
    arrivalTimer->setSingleShot(true);
    arrivalTimer->setInterval(arrivalBatchMs);
    connect(arrivalTimer, &QTimer::timeout, this, &PdfFileList::listArrived);
    connect(this->pictures, &ThumbnailStore::thumbnailsWanted, this, &PdfFileList::redrawWanted);
    connect(redraw, &PdfPictureRedraw::pictureRead, this, &PdfFileList::onPictureRedrawn);
}

PdfFileList::~PdfFileList()
{
    releaseWorker(running.data());
    qDeleteAll(arrivedRows);
}

QList<PdfInput> PdfFileList::inputs() const
{
    QList<PdfInput> files;
    files.reserve(listed.size());
    for (const Entry &entry : listed) {
        if (!entry.locked)
            files.append(entry.input);
    }
    return files;
}

int PdfFileList::rowCount() const
{
    return items->rowCount();
}

bool PdfFileList::containsPath(const QStringList &paths, const QString &path)
{
    return paths.contains(path, fileNameCase);
}

bool PdfFileList::contains(const QString &path) const
{
    const auto same = [&](const Entry &entry) { return entry.input.path.compare(path, fileNameCase) == 0; };
    return std::any_of(listed.cbegin(), listed.cend(), same) || std::any_of(arrived.cbegin(), arrived.cend(), same) ||
           std::any_of(waiting.cbegin(), waiting.cend(), same) || std::any_of(reading.cbegin(), reading.cend(), same);
}

void PdfFileList::add(const QStringList &paths, int beforeRow)
{
    const quint64 before = beforeRow >= 0 && beforeRow < listed.size() ? listed.at(beforeRow).id : 0;
    for (const QString &path : paths) {
        Entry entry{nextId++, {path, QString()}};
        entry.before = before;
        enqueue(entry);
    }
}

void PdfFileList::enqueue(const Entry &entry)
{
    // An empty list starts afresh, drawn for the screen it is shown on now.
    if (listed.isEmpty() && arrived.isEmpty() && !running && !asking && waiting.isEmpty())
        pictures->clear(fixedRatio > 0 ? fixedRatio : form->devicePixelRatioF());
    waiting.append(entry);
    if (!running && !asking)
        startNext();
    setBusy();
}

void PdfFileList::removeRow(int row)
{
    if (row < 0 || row >= items->rowCount())
        return;
    items->removeRow(row);
    pictures->remove(listed.takeAt(row).id);
}

void PdfFileList::movePath(int source, int target)
{
    if (source < 0 || source >= listed.size() || target < 0 || target >= listed.size())
        return;
    listed.move(source, target);
}

void PdfFileList::clear()
{
    ++generation;
    if (running)
        running->requestStop();
    waiting.clear();
    reading.clear();
    listed.clear();
    dropArrived();
    leftOut.clear();
    items->removeRows(0, items->rowCount());
    pictures->clear(pictures->devicePixelRatio());
    redraw->cancel();
    setBusy();
}

void PdfFileList::setBusy()
{
    if (isBusy() == wasBusy)
        return;
    wasBusy = isBusy();
    emit busyChanged(wasBusy);
}

void PdfFileList::startNext()
{
    if (waiting.isEmpty())
        return;
    QList<PdfInput> batch;
    for (const Entry &entry : std::as_const(waiting)) {
        batch.append(entry.input);
        reading.push_back(entry);
    }
    waiting.clear();
    running = makeThread(batch, generation);
    running->setParent(this);
    running->setPictureBox(pictureBox * pictures->devicePixelRatio());
    connect(running, &PdfListAddFileThread::fileListed, this, &PdfFileList::onFileListed);
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
    listArrived();
    // A stopped thread leaves files unread; they belong to a cleared list.
    reading.clear();
    if (!waiting.isEmpty()) {
        startNext();
        return;
    }
    askForPasswords();
    if (running || !waiting.isEmpty()) {
        setBusy();
        return;
    }
    reportUnopenedPdfs(form, title, std::exchange(leftOut, {}));
    setBusy();
    emit filesAdded();
}

// Questions wait for the end of the intake, so that a batch asks once per
// file and reports once; the rows keep their places meanwhile.
void PdfFileList::askForPasswords()
{
    asking = true;
    const int asked = generation;
    QList<quint64> locked;
    for (Entry &entry : listed) {
        if (entry.locked && !entry.asked) {
            entry.asked = true;
            locked.append(entry.id);
        }
    }
    for (quint64 id : std::as_const(locked)) {
        const qsizetype row = rowOf(id);
        if (row < 0)
            continue; // removed meanwhile
        const std::optional<QString> password = PdfPasswordDialog::ask(form, listed.at(row).input.path);
        if (asked != generation)
            break;
        const qsizetype rowNow = rowOf(id);
        if (rowNow < 0)
            continue;
        if (password) {
            listed[rowNow].input.password = *password;
            waiting.append(listed.at(rowNow));
        } else {
            removeRow(int(rowNow));
        }
    }
    asking = false;
    if (!waiting.isEmpty())
        startNext();
}

qsizetype PdfFileList::rowOf(quint64 id) const
{
    for (qsizetype row = 0; row < listed.size(); ++row) {
        if (listed.at(row).id == id)
            return row;
    }
    return -1;
}

void PdfFileList::onFileListed(int listedGeneration, int pageCount, const QByteArray &firstPage,
                               const PdfOpenProblem &problem)
{
    if (listedGeneration != generation || reading.empty())
        return;
    Entry entry = reading.front();
    reading.pop_front();
    // Only a file given its password has a row already; if it has none, the
    // user removed it meanwhile.
    const qsizetype row = entry.asked ? rowOf(entry.id) : -1;
    if (entry.asked && row < 0)
        return;
    if (problem.failed() && (!problem.needsPassword() || entry.asked)) {
        if (row >= 0)
            removeRow(int(row));
        leftOut.append(problem.describe(entry.input.path));
        return;
    }
    entry.locked = problem.needsPassword();
    entry.input.pageCount = pageCount;
    QStandardItem *item = makeRow(entry, pageCount, firstPage);
    if (row >= 0) {
        listed[row] = entry;
        items->setItem(int(row), item);
        return;
    }
    arrived.append(entry);
    arrivedRows.append(item);
    if (arrivedRows.size() >= arrivalBatchRows)
        listArrived();
    else if (!arrivalTimer->isActive())
        arrivalTimer->start();
}

void PdfFileList::listArrived()
{
    arrivalTimer->stop();
    const QList<Entry> entries = std::exchange(arrived, {});
    const QList<QStandardItem *> rows = std::exchange(arrivedRows, {});
    // One insertion for each run of rows bound for the same place.
    for (qsizetype first = 0; first < entries.size();) {
        qsizetype end = first + 1;
        while (end < entries.size() && entries.at(end).before == entries.at(first).before)
            ++end;
        const qsizetype anchor = entries.at(first).before ? rowOf(entries.at(first).before) : -1;
        const qsizetype at = anchor >= 0 ? anchor : listed.size();
        for (qsizetype i = first; i < end; ++i)
            listed.insert(at + (i - first), entries.at(i));
        items->invisibleRootItem()->insertRows(int(at), rows.mid(first, end - first));
        first = end;
    }
}

void PdfFileList::dropArrived()
{
    arrivalTimer->stop();
    arrived.clear();
    qDeleteAll(std::exchange(arrivedRows, {}));
}

// Rows shown without their picture (let go of to stay within the budget) get
// it drawn again, before any others.
void PdfFileList::redrawWanted()
{
    QList<PdfPictureRedraw::File> files;
    for (const ThumbnailStore::Id id : pictures->takeWanted()) {
        const qsizetype row = rowOf(id);
        if (row >= 0 && !listed.at(row).locked)
            files.append({id, listed.at(row).input});
    }
    if (!files.isEmpty())
        redraw->request(files, pictureBox * pictures->devicePixelRatio());
}

void PdfFileList::onPictureRedrawn(quint64 id, const QByteArray &picture)
{
    const qsizetype row = rowOf(id);
    if (row < 0)
        return;
    pictures->setThumbnail(id, picture);
    const QModelIndex index = items->index(int(row), 0);
    emit items->dataChanged(index, index, {Qt::DecorationRole});
}

QStandardItem *PdfFileList::makeRow(const Entry &entry, int pageCount, const QByteArray &firstPage)
{
    const QString name = QFileInfo(entry.input.path).fileName();
    QStandardItem *item = nullptr;
    if (entry.locked) {
        item = new QStandardItem(pdfIcon, tr("Password needed"));
        item->setToolTip(tr("%1, waiting for its password").arg(name));
    } else {
        const QString span = QStringLiteral("1-%1").arg(pageCount);
        if (firstPage.isEmpty()) {
            item = new QStandardItem(pdfIcon, span);
        } else {
            pictures->setThumbnail(entry.id, firstPage);
            item = new ThumbnailItem(pictures, entry.id, span);
        }
        item->setToolTip(pageCount == 1 ? tr("%1, 1 page").arg(name) : tr("%1, %2 pages").arg(name).arg(pageCount));
    }
    item->setData(name, PdfFileItemDelegate::FileNameRole);
    item->setData(item->toolTip(), Qt::AccessibleTextRole);
    item->setCheckable(false);
    item->setEditable(false);
    item->setDropEnabled(false);
    return item;
}
