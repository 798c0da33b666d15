// The source list of the images form: intake of dropped and picked files,
// and Remove, Clear, Up and Down.
#include "convertimageaddurlsthread.h"
#include "convertimageform.h"
#include "convertimageframe.h"
#include "convertimagepreviewlabel.h"
#include "convertimagetreeview.h"
#include "convertsettingsstore.h"
#include "kivlocalconvertimage.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "sourceintake.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QToolButton>

#include <algorithm>

namespace {

QStandardItem *sourceItem(const QString &text)
{
    auto *item = new QStandardItem(text);
    // Rows are moved between rows, never dropped onto one, and not edited.
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
    return item;
}

} // namespace

void ConvertImageForm::setupSourceList()
{
    ui.sourceTreeView->setModel(sourceModel);
    ui.sourceTreeView->setColumnHidden(1, true);
    connect(ui.sourceTreeView, &ConvertImageTreeView::addURLs, this, &ConvertImageForm::on_AddURLs);
    connect(ui.sourceFrame, &ConvertImageFrame::addURLs, this, &ConvertImageForm::on_AddURLs);
    connect(ui.sourceTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ConvertImageForm::on_itemSelection_changed);
}

void ConvertImageForm::on_AddURL(QUrl url)
{
    on_AddURLs({url});
}

void ConvertImageForm::on_ImageFilesSelected(QList<QString> pathList)
{
    QList<QUrl> urls;
    urls.reserve(pathList.size());
    for (const QString &path : pathList)
        urls.append(QUrl::fromLocalFile(path));
    on_AddURLs(urls);
}

void ConvertImageForm::on_AddURLs(QList<QUrl> urls)
{
    ui.sourceTreeView->clearSelection();
    if (convertImageAddUrlsThreadStat && addUrlsThread && addUrlsThread->appendUrls(urls))
        return;
    emit showToolbarSignal(false);
    convertImageAddUrlsThreadStat = true;
    auto *thread = new ConvertImageAddUrlsThread(sourceFiles(), sourceModel->rowCount(), sourceGeneration, this);
    addUrlsThread = thread;
    connect(thread, &ConvertImageAddUrlsThread::rowsListed, this, &ConvertImageForm::onRowsListed);
    connect(thread, &ConvertImageAddUrlsThread::addUrlsFinish, this, &ConvertImageForm::onAddUrlsFinish);
    connect(thread, &ConvertImageAddUrlsThread::processFinish, this, &ConvertImageForm::onGetItemIconProcessFinish);
    connect(thread, &QThread::finished, this, &ConvertImageForm::onAddUrlsThreadDestroy);
    thread->appendUrls(urls);
    thread->start(QThread::InheritPriority);
}

bool ConvertImageForm::fromCurrentList(QObject *thread) const
{
    // A thread that Clear has let go worked for a list that is gone. One
    // that stopped taking URLs while another took over still delivers.
    const auto *adding = qobject_cast<ConvertImageAddUrlsThread *>(thread);
    return adding && adding->generation == sourceGeneration;
}

void ConvertImageForm::onRowsListed(QStringList paths)
{
    if (!fromCurrentList(sender()))
        return;
    for (const QString &path : paths)
        sourceModel->appendRow({sourceItem(QFileInfo(path).fileName()), sourceItem(path)});
}

void ConvertImageForm::onAddUrlsFinish(QString lastPath)
{
    if (!fromCurrentList(sender()))
        return;
    isReady = false;
    const int rows = sourceModel->rowCount();
    // The last row is the one selected; when the batch added nothing new
    // that is an earlier file rather than the thread's last one.
    currentSelectedFile = rows > 0 ? sourceModel->item(rows - 1, 1)->text() : lastPath;
    ui.sourceTreeView->selectedPath = currentSelectedFile;
    requestPreview(false);
    if (rows > 0)
        selectSourceRow(rows - 1);
    // A batch that ends during a run leaves the run's panel and locks alone;
    // the run's end brings the list back.
    if (!conversionRunning) {
        ui.convertButton->setEnabled(rows > 0);
        ui.clearButton->setEnabled(true);
        updateListButtons();
        ui.sourceStack->setCurrentWidget(ui.sourceTreeView);
    }
    emit showToolbarSignal(true);
    refreshTheme();
    isReady = true;
}

void ConvertImageForm::onGetItemIconProcessFinish(QImage icon, QString fileName, QString path, QString sizeStr,
                                                  int index)
{
    if (!fromCurrentList(sender()))
        return;
    const QString fullPath = QDir(path).filePath(fileName);
    auto sameFile = [&](int row) {
        return row >= 0 && row < sourceModel->rowCount() &&
               QDir::toNativeSeparators(sourceModel->item(row, 1)->text()) == QDir::toNativeSeparators(fullPath);
    };
    // Rows moved or removed since the file was listed shift its row.
    int row = index;
    if (!sameFile(row)) {
        row = -1;
        for (int candidate = 0; candidate < sourceModel->rowCount() && row < 0; ++candidate)
            if (sameFile(candidate))
                row = candidate;
        if (row < 0)
            return;
    }
    QStandardItem *item = sourceModel->item(row, 0);
    item->setText(SourceIntake::detailsText(fileName, sizeStr, path));
    item->setIcon(icon.isNull() ? QIcon() : QIcon(QPixmap::fromImage(icon)));
}

void ConvertImageForm::onAddUrlsThreadDestroy()
{
    auto *thread = qobject_cast<ConvertImageAddUrlsThread *>(sender());
    if (thread)
        thread->deleteLater();
    if (thread != addUrlsThread)
        return;
    convertImageAddUrlsThreadStat = false;
    addUrlsThread = nullptr;
    emit showToolbarSignal(true);
}

void ConvertImageForm::stopAddingUrls()
{
    // Threads end on their own and delete themselves; their late results are
    // dropped as they belong to the list before.
    ++sourceGeneration;
    if (!addUrlsThread)
        return;
    addUrlsThread->requestStop();
    addUrlsThread = nullptr;
    if (convertImageAddUrlsThreadStat) {
        convertImageAddUrlsThreadStat = false;
        emit showToolbarSignal(true);
    }
}

void ConvertImageForm::on_addFilesButton_clicked()
{
    ui.sourceTreeView->clearSelection();
    const QString remembered = KivLocalConvertImage::settings().lastPicturesDir;
    const QString start =
        !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : ShellHelpers::picturesFolder();
    const QStringList chosen = ShellDialogs::getOpenFileNames(
        this, tr("Add Image Files"), start,
        tr("Image Files (*.avif *.gif *.heic *.heif *.jpg *.jpeg *.jxl *.png *.tif *.tiff *.webp)"));
    if (chosen.isEmpty())
        return;
    const QString folder = QDir::toNativeSeparators(QFileInfo(chosen.constFirst()).absolutePath());
    storeSettings({QStringLiteral("lastPicturesDir")}, [&folder](ConvertSettings &s) { s.lastPicturesDir = folder; });
    on_ImageFilesSelected(chosen);
}

QList<int> ConvertImageForm::selectedSourceRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : ui.sourceTreeView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ConvertImageForm::selectSourceRow(int row)
{
    // The selection may already be what it becomes (rows carry theirs along
    // when they move), so the handler runs once, not on a change signal.
    const bool wasReady = isReady;
    isReady = false;
    QItemSelectionModel *selection = ui.sourceTreeView->selectionModel();
    selection->setCurrentIndex(sourceModel->index(row, 0), QItemSelectionModel::NoUpdate);
    selection->select(sourceModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    isReady = wasReady;
    on_itemSelection_changed({}, {});
}

void ConvertImageForm::showEmptyPreview()
{
    ui.previewImage->clear();
    ui.previewImage->setHasImage(false);
    ui.previewImage->setText(tr("Preview"));
}

QList<int> ConvertImageForm::updateListButtons()
{
    const QList<int> rows = selectedSourceRows();
    ui.removeButton->setEnabled(!rows.isEmpty());
    ui.upButton->setEnabled(!rows.isEmpty() && rows.constFirst() > 0);
    ui.downButton->setEnabled(!rows.isEmpty() && rows.constLast() < sourceModel->rowCount() - 1);
    return rows;
}

void ConvertImageForm::on_itemSelection_changed(const QItemSelection &, const QItemSelection &)
{
    if (!isReady)
        return;
    const QList<int> rows = updateListButtons();
    if (rows.isEmpty()) {
        showEmptyPreview();
    } else {
        currentSelectedFile = sourceModel->item(rows.constFirst(), 1)->text();
        ui.sourceTreeView->selectedPath = currentSelectedFile;
        requestPreview(false);
    }
    refreshTheme();
}

void ConvertImageForm::on_removeButton_clicked()
{
    const QList<int> rows = selectedSourceRows();
    if (rows.isEmpty())
        return;
    QStringList removed;
    isReady = false;
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        removed.append(sourceModel->item(*row, 1)->text());
        sourceModel->removeRow(*row);
    }
    isReady = true;
    if (addUrlsThread)
        addUrlsThread->forgetPaths(removed);
    if (sourceModel->rowCount() > 0) {
        selectSourceRow(qMin(rows.constFirst(), sourceModel->rowCount() - 1));
        return;
    }
    on_itemSelection_changed({}, {});
    ui.convertButton->setEnabled(false);
    ui.clearButton->setEnabled(false);
    refreshTheme();
}

void ConvertImageForm::on_clearButton_clicked()
{
    stopAddingUrls();
    isReady = false;
    sourceModel->removeRows(0, sourceModel->rowCount());
    isReady = true;
    currentSelectedFile.clear();
    ui.sourceTreeView->selectedPath.clear();
    for (QToolButton *button : {ui.convertButton, ui.removeButton, ui.clearButton, ui.upButton, ui.downButton})
        button->setEnabled(false);
    showEmptyPreview();
    ui.sourceStack->setCurrentWidget(ui.sourceFrame);
    refreshTheme();
}

void ConvertImageForm::on_upButton_clicked()
{
    const QList<int> rows = selectedSourceRows();
    if (rows.isEmpty() || rows.constFirst() == 0)
        return;
    // Each selected row trades places with the one above, top first, so a
    // block moves as a block; the block's new top row is then the selection.
    isReady = false;
    for (int row : rows)
        sourceModel->insertRow(row, sourceModel->takeRow(row - 1));
    isReady = true;
    selectSourceRow(rows.constFirst() - 1);
}

void ConvertImageForm::on_downButton_clicked()
{
    const QList<int> rows = selectedSourceRows();
    if (rows.isEmpty() || rows.constLast() >= sourceModel->rowCount() - 1)
        return;
    isReady = false;
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        sourceModel->insertRow(*row, sourceModel->takeRow(*row + 1));
    isReady = true;
    selectSourceRow(rows.constFirst() + 1);
}
