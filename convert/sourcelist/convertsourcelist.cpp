// The source list of the images form: intake of dropped and picked files,
// and Remove, Clear, Up and Down.
#include "convertsourcelist.h"

#include "convertimageaddurlsthread.h"
#include "convertimageformui.h"
#include "convertimageframe.h"
#include "convertimagetreeview.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "sourceiconreader.h"
#include "sourceintake.h"
#include "theme.h"
#include "workerrelease.h"

#include <QDir>
#include <QFileInfo>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QToolButton>

#include <algorithm>

ConvertSourceList::ConvertSourceList(QWidget *form, ConvertImageFormUi &ui, bool &ready, QStandardItemModel *model)
    : ConvertFormPart(form, ui, ready)
    , sourceModel(model)
    , icons(new ThumbnailStore(this))
    , sourceRows(model, icons)
{
    ui.sourceTreeView->setModel(sourceModel);
    // Not attached to the view: an icon comes with its row's text, whose
    // change repaints that row alone, where the store would repaint them all.
    connect(icons, &ThumbnailStore::thumbnailsWanted, this, &ConvertSourceList::preferWantedIcons);
    ui.sourceTreeView->setColumnHidden(1, true);
    connect(ui.sourceTreeView, &ConvertImageTreeView::addURLs, this, &ConvertSourceList::on_AddURLs);
    connect(ui.sourceFrame, &ConvertImageFrame::addURLs, this, &ConvertSourceList::on_AddURLs);
    connect(ui.sourceTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ConvertSourceList::on_itemSelection_changed);
    ui.sourceStack->setCurrentWidget(ui.sourceFrame);
    connectSlotsByName();
}

QStringList ConvertSourceList::files() const
{
    return sourceRows.paths();
}

void ConvertSourceList::on_AddURL(QUrl url)
{
    on_AddURLs({url});
}

void ConvertSourceList::on_ImageFilesSelected(QList<QString> pathList)
{
    QList<QUrl> urls;
    urls.reserve(pathList.size());
    for (const QString &path : pathList)
        urls.append(QUrl::fromLocalFile(path));
    on_AddURLs(urls);
}

// Threads stopped by Clear may still be reading an image: the window does
// not wait for them beyond a bound.
ConvertSourceList::~ConvertSourceList()
{
    for (ConvertImageAddUrlsThread *thread : findChildren<ConvertImageAddUrlsThread *>())
        releaseWorker(thread);
    for (SourceIconReader *reader : findChildren<SourceIconReader *>())
        releaseWorker(reader);
}

void ConvertSourceList::on_AddURLs(QList<QUrl> urls)
{
    ui.sourceTreeView->clearSelection();
    if (convertImageAddUrlsThreadStat && addUrlsThread && addUrlsThread->appendUrls(urls))
        return;
    emit showToolbarSignal(false);
    convertImageAddUrlsThreadStat = true;
    auto *thread = new ConvertImageAddUrlsThread(files(), sourceModel->rowCount(), sourceGeneration, this);
    addUrlsThread = thread;
    connect(thread, &ConvertImageAddUrlsThread::rowsListed, this, &ConvertSourceList::onRowsListed);
    connect(thread, &ConvertImageAddUrlsThread::addUrlsFinish, this, &ConvertSourceList::onAddUrlsFinish);
    connect(thread, &ConvertImageAddUrlsThread::processFinish, this, &ConvertSourceList::onGetItemIconProcessFinish);
    connect(thread, &QThread::finished, this, &ConvertSourceList::onAddUrlsThreadDestroy);
    thread->appendUrls(urls);
    thread->start(QThread::InheritPriority);
}

bool ConvertSourceList::fromCurrentList(QObject *thread) const
{
    // A thread that Clear has let go worked for a list that is gone. One
    // that stopped taking URLs while another took over still delivers.
    const auto *adding = qobject_cast<ConvertImageAddUrlsThread *>(thread);
    return adding && adding->generation == sourceGeneration;
}

void ConvertSourceList::onRowsListed(QStringList paths)
{
    if (!fromCurrentList(sender()))
        return;
    sourceRows.append(paths);
}

void ConvertSourceList::onAddUrlsFinish(QString lastPath)
{
    if (!fromCurrentList(sender()))
        return;
    ready = false;
    const int rows = sourceModel->rowCount();
    // The last row is the one selected; when the batch added nothing new
    // that is an earlier file rather than the thread's last one.
    const QString current = rows > 0 ? sourceRows.path(rows - 1) : lastPath;
    ui.sourceTreeView->selectedPath = current;
    emit fileSelected(current);
    if (rows > 0)
        selectRow(rows - 1);
    // A batch that ends during a run leaves the run's panel and locks alone;
    // the run's end brings the list back.
    if (!locked) {
        ui.convertButton->setEnabled(rows > 0);
        ui.clearButton->setEnabled(true);
        updateListButtons();
        ui.sourceStack->setCurrentWidget(ui.sourceTreeView);
    }
    emit showToolbarSignal(true);
    emit enabledStateChanged();
    ready = true;
}

void ConvertSourceList::onGetItemIconProcessFinish(QByteArray icon, QString fileName, QString path,
                                                   QString sizeStr, int index)
{
    if (!fromCurrentList(sender()))
        return;
    Q_UNUSED(index) // rows moved or removed since the file was listed shift it; its path finds it
    sourceRows.setDetails(QDir::toNativeSeparators(QDir(path).filePath(fileName)),
                          SourceIntake::detailsText(fileName, sizeStr, path), icon);
}

void ConvertSourceList::preferWantedIcons()
{
    QStringList paths;
    for (const ThumbnailStore::Id id : icons->takeWanted()) {
        const QString path = sourceRows.pathOf(id);
        if (!path.isEmpty())
            paths.append(path);
    }
    if (paths.isEmpty())
        return;
    if (addUrlsThread)
        addUrlsThread->prefer(paths);
    else
        readIconsAgain(paths);
}

// Icons the store let go of are wanted again long after the intake that read
// them has ended.
void ConvertSourceList::readIconsAgain(const QStringList &paths)
{
    if (iconReader && iconReader->prefer(paths))
        return;
    auto *reader = new SourceIconReader(sourceGeneration, this);
    iconReader = reader;
    connect(reader, &SourceIconReader::iconRead, this,
            [this, reader](const QByteArray &icon, const QString &fileName, const QString &path,
                           const QString &sizeStr) {
                if (reader->generation == sourceGeneration)
                    sourceRows.setDetails(QDir::toNativeSeparators(QDir(path).filePath(fileName)),
                                          SourceIntake::detailsText(fileName, sizeStr, path), icon);
            });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    reader->prefer(paths);
    reader->start(QThread::LowPriority);
}

void ConvertSourceList::onAddUrlsThreadDestroy()
{
    auto *thread = qobject_cast<ConvertImageAddUrlsThread *>(sender());
    if (thread)
        thread->deleteLater();
    if (thread != addUrlsThread)
        return;
    convertImageAddUrlsThreadStat = false;
    addUrlsThread = nullptr;
    emit showToolbarSignal(true);
    // Wishes the thread took after its last icon went nowhere: rows still
    // without one ask again.
    ui.sourceTreeView->viewport()->update();
}

void ConvertSourceList::stopAddingUrls()
{
    // Threads end on their own and delete themselves; their late results are
    // dropped as they belong to the list before.
    ++sourceGeneration;
    if (iconReader)
        iconReader->requestStop();
    iconReader = nullptr;
    if (!addUrlsThread)
        return;
    addUrlsThread->requestStop();
    addUrlsThread = nullptr;
    if (convertImageAddUrlsThreadStat) {
        convertImageAddUrlsThreadStat = false;
        emit showToolbarSignal(true);
    }
}

void ConvertSourceList::on_addFilesButton_clicked()
{
    ui.sourceTreeView->clearSelection();
    const QString remembered = KivLocalConvertImage::settings().lastPicturesDir;
    const QString start =
        !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : ShellHelpers::picturesFolder();
    const QStringList chosen = ShellDialogs::getOpenFileNames(form, tr("Add Image Files"), start, imageFilesFilter());
    if (chosen.isEmpty())
        return;
    const QString folder = QDir::toNativeSeparators(QFileInfo(chosen.constFirst()).absolutePath());
    storeSettings({QStringLiteral("lastPicturesDir")}, [&folder](ConvertSettings &s) { s.lastPicturesDir = folder; });
    on_ImageFilesSelected(chosen);
}

QList<int> ConvertSourceList::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : ui.sourceTreeView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ConvertSourceList::selectRow(int row)
{
    // The selection may already be what it becomes (rows carry theirs along
    // when they move), so the handler runs once, not on a change signal.
    const bool wasReady = ready;
    ready = false;
    QItemSelectionModel *selection = ui.sourceTreeView->selectionModel();
    selection->setCurrentIndex(sourceModel->index(row, 0), QItemSelectionModel::NoUpdate);
    selection->select(sourceModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ready = wasReady;
    on_itemSelection_changed({}, {});
}

QList<int> ConvertSourceList::updateListButtons()
{
    const QList<int> rows = selectedRows();
    ui.removeButton->setEnabled(!rows.isEmpty());
    ui.upButton->setEnabled(!rows.isEmpty() && rows.constFirst() > 0);
    ui.downButton->setEnabled(!rows.isEmpty() && rows.constLast() < sourceModel->rowCount() - 1);
    return rows;
}

void ConvertSourceList::on_itemSelection_changed(const QItemSelection &, const QItemSelection &)
{
    if (!ready)
        return;
    const QList<int> rows = updateListButtons();
    if (rows.isEmpty()) {
        emit selectionEmptied();
    } else {
        const QString current = sourceRows.path(rows.constFirst());
        ui.sourceTreeView->selectedPath = current;
        emit fileSelected(current);
    }
    emit enabledStateChanged();
}

void ConvertSourceList::on_removeButton_clicked()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    ready = false;
    const QStringList removed = sourceRows.remove(rows);
    ready = true;
    if (addUrlsThread)
        addUrlsThread->forgetPaths(removed);
    if (sourceModel->rowCount() > 0) {
        selectRow(qMin(rows.constFirst(), sourceModel->rowCount() - 1));
        return;
    }
    on_itemSelection_changed({}, {});
    ui.convertButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    emit enabledStateChanged();
}

void ConvertSourceList::on_clearButton_clicked()
{
    stopAddingUrls();
    ready = false;
    sourceRows.clear();
    ready = true;
    ui.sourceTreeView->selectedPath.clear();
    for (QToolButton *button : {ui.convertButton, ui.removeButton, ui.clearButton, ui.upButton, ui.downButton})
        button->setEnabled(false);
    emit listCleared();
    ui.sourceStack->setCurrentWidget(ui.sourceFrame);
    emit enabledStateChanged();
}

void ConvertSourceList::on_upButton_clicked()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || rows.constFirst() == 0)
        return;
    // Each selected row trades places with the one above, top first, so a
    // block moves as a block; the block's new top row is then the selection.
    ready = false;
    for (int row : rows)
        sourceModel->insertRow(row, sourceModel->takeRow(row - 1));
    ready = true;
    selectRow(rows.constFirst() - 1);
}

void ConvertSourceList::on_downButton_clicked()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || rows.constLast() >= sourceModel->rowCount() - 1)
        return;
    ready = false;
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        sourceModel->insertRow(*row, sourceModel->takeRow(*row + 1));
    ready = true;
    selectRow(rows.constFirst() + 1);
}

void ConvertSourceList::setLocked(bool lock)
{
    locked = lock;
    for (QWidget *widget :
         std::initializer_list<QWidget *>{ui.addFilesButton, ui.clearButton, ui.sourceTreeView, ui.sourceFrame})
        widget->setEnabled(!lock);
    if (lock) {
        for (QWidget *button : {ui.removeButton, ui.upButton, ui.downButton})
            button->setEnabled(false);
    } else {
        updateListButtons();
    }
}

void ConvertSourceList::refreshTheme()
{
    Theme::applyIcon(ui.addFilesButton, QStringLiteral("_AddFile24.png"), QStringLiteral("_AddFileWhite24.png"));
    Theme::applyIcon(ui.removeButton, QStringLiteral("_Delete24.png"), QStringLiteral("_DeleteWhite24.png"),
                     QStringLiteral("_DeleteGray24.png"));
    Theme::applyIcon(ui.clearButton, QStringLiteral("_shortcut24.png"), QStringLiteral("_shortcutWhite24.png"),
                     QStringLiteral("_shortcutGray24.png"));
    Theme::applyIcon(ui.upButton, QStringLiteral("_ArrowUp24.png"), QStringLiteral("_ArrowUpWhite24.png"),
                     QStringLiteral("_ArrowUpGray24.png"));
    Theme::applyIcon(ui.downButton, QStringLiteral("_ArrowDown24.png"), QStringLiteral("_ArrowDownWhite24.png"),
                     QStringLiteral("_ArrowDownGray24.png"));
    Theme::applyPixmap(ui.label_2, QStringLiteral("_DropLogo.png"), QStringLiteral("_DropLogoWhite.png"));
}
