// Checking pages, the strip of checked pages and the page preview.
#include "pdfmanagerform.h"

#include "pagepreviewrenderer.h"
#include "pdfmanagercheckrangedialog.h"
#include "pdfmanagerglobal.h"
#include "pdfmanagerlistview.h"
#include "pdfmanagertableview.h"
#include "shelldialogs.h"
#include "thumbnailitem.h"

#include <QLabel>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

int pageNumberOf(const QStandardItem *item)
{
    return item ? item->text().toInt() : 0;
}

} // namespace

bool PdfManagerForm::anyPageChecked() const
{
    for (int row = 0; row < pageModel->rowCount(); ++row) {
        if (pageModel->item(row)->checkState() == Qt::Checked)
            return true;
    }
    return false;
}

// The strip is kept in ascending page order, so a binary search finds a page.
int PdfManagerForm::checkedColumnAtOrAfter(int pageNumber) const
{
    int low = 0;
    int high = checkedModel->columnCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (pageNumberOf(checkedModel->item(0, middle)) < pageNumber)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int PdfManagerForm::checkedColumnOf(int pageNumber) const
{
    const int column = checkedColumnAtOrAfter(pageNumber);
    if (column < checkedModel->columnCount() && pageNumberOf(checkedModel->item(0, column)) == pageNumber)
        return column;
    return -1;
}

void PdfManagerForm::addItemToCheckedView(QModelIndex index)
{
    const QStandardItem *page = pageModel->itemFromIndex(index);
    if (!page)
        return;
    ui.checkedTabWidget->show();
    const int pageNumber = pageNumberOf(page);
    const int column = checkedColumnAtOrAfter(pageNumber);
    if (column < checkedModel->columnCount() && pageNumberOf(checkedModel->item(0, column)) == pageNumber)
        return;
    checkedModel->insertColumn(column, {newCheckedItem(page)});
}

// The strip shows the page's own picture from the same store.
QStandardItem *PdfManagerForm::newCheckedItem(const QStandardItem *page) const
{
    auto *item = new ThumbnailItem(thumbnails, static_cast<const ThumbnailItem *>(page)->thumbnailId(), page->text());
    item->setEditable(false);
    return item;
}

void PdfManagerForm::removeCheckedPage(int pageNumber)
{
    const int column = checkedColumnOf(pageNumber);
    if (column >= 0) {
        // Removing the selected cell moves the strip's current cell to a
        // neighbour; that is not the user choosing another page.
        const QScopedValueRollback<bool> syncing(selectionSyncing, true);
        checkedModel->removeColumn(column);
    }
    if (checkedModel->columnCount() == 0)
        ui.checkedTabWidget->hide();
}

void PdfManagerForm::clearCheckedView()
{
    checkedModel->clear();
}

void PdfManagerForm::syncCheckedPage(const QModelIndex &index)
{
    const QStandardItem *page = pageModel->itemFromIndex(index);
    if (!page)
        return;
    ui.exportButton->setEnabled(anyPageChecked());
    if (page->checkState() == Qt::Checked)
        addItemToCheckedView(index);
    else
        removeCheckedPage(pageNumberOf(page));
    refreshTheme();
}

void PdfManagerForm::on_listView_clicked(QModelIndex index)
{
    syncCheckedPage(index);
}

void PdfManagerForm::onPageItemChanged(QStandardItem *item)
{
    if (!bulkChecking && item)
        syncCheckedPage(item->index());
}

void PdfManagerForm::afterCheckedViewChanged()
{
    // Checking all of nothing, or a range beyond the listed pages, checks nothing.
    ui.checkedTabWidget->setVisible(checkedModel->columnCount() > 0);
    ui.exportButton->setEnabled(anyPageChecked());
    refreshTheme();
}

void PdfManagerForm::on_checkAllButton_clicked()
{
    const QScopedValueRollback<bool> quiet(bulkChecking, true);
    // Every page ends up in the strip, so it is rebuilt in one go rather than
    // page by page: one model change instead of thousands on long documents.
    clearCheckedView();
    QList<QStandardItem *> strip;
    strip.reserve(pageModel->rowCount());
    for (int row = 0; row < pageModel->rowCount(); ++row) {
        QStandardItem *page = pageModel->item(row);
        page->setCheckState(Qt::Checked);
        strip.append(newCheckedItem(page));
    }
    if (!strip.isEmpty())
        checkedModel->appendRow(strip);
    afterCheckedViewChanged();
}

void PdfManagerForm::on_uncheckAllButton_clicked()
{
    const QScopedValueRollback<bool> quiet(bulkChecking, true);
    for (int row = 0; row < pageModel->rowCount(); ++row)
        pageModel->item(row)->setCheckState(Qt::Unchecked);
    clearCheckedView();
    ui.checkedTabWidget->hide();
    ui.exportButton->setEnabled(false);
    refreshTheme();
}

void PdfManagerForm::on_pageRangeButton_clicked()
{
    QPointer<PdfManagerCheckRangeDialog> dialog = new PdfManagerCheckRangeDialog(this);
    connect(dialog, &PdfManagerCheckRangeDialog::pageRangeChecked, this, &PdfManagerForm::handlePageRangeChecked);
    // Only listed pages can be checked; a cancelled load lists fewer than the document has.
    dialog->setMaximum(pageModel->rowCount());
    ShellDialogs::exec(dialog);
    // Its own buttons dispose of it; closing the window only ends the run.
    if (dialog)
        dialog->deleteLater();
}

void PdfManagerForm::handlePageRangeChecked(int start, int end)
{
    const QScopedValueRollback<bool> quiet(bulkChecking, true);
    for (int row = 0; row < pageModel->rowCount(); ++row) {
        QStandardItem *page = pageModel->item(row);
        const int pageNumber = pageNumberOf(page);
        if (pageNumber < start || pageNumber > end)
            continue;
        page->setCheckState(Qt::Checked);
        addItemToCheckedView(page->index());
    }
    afterCheckedViewChanged();
}

void PdfManagerForm::on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected)
{
    Q_UNUSED(deselected)
    if (selected.isEmpty())
        return;
    const QScopedValueRollback<bool> syncing(selectionSyncing, true);
    const QModelIndexList indexes = ui.listView->selectionModel()->selectedIndexes();
    if (indexes.isEmpty())
        return;
    const int column = checkedColumnOf(pageNumberOf(pageModel->itemFromIndex(indexes.constFirst())));
    ui.checkedView->clearSelection();
    if (column >= 0) {
        const QModelIndex strip = checkedModel->index(0, column);
        ui.checkedView->selectionModel()->select(strip, QItemSelectionModel::ClearAndSelect);
        ui.checkedView->scrollTo(strip, QAbstractItemView::EnsureVisible);
    }
    updatePreview();
}

void PdfManagerForm::on_checkedView_itemSelection_changed(const QItemSelection &selected,
                                                          const QItemSelection &deselected)
{
    Q_UNUSED(selected)
    Q_UNUSED(deselected)
    if (selectionSyncing)
        return;
    const QModelIndex current = ui.checkedView->currentIndex();
    if (!current.isValid())
        return;
    const int pageNumber = current.data().toInt();
    // Rows hold the pages in order, one per page number.
    const QModelIndex page = pageModel->index(pageNumber - 1, 0);
    if (!page.isValid() || pageNumberOf(pageModel->itemFromIndex(page)) != pageNumber)
        return;
    ui.listView->clearSelection();
    ui.listView->selectionModel()->select(page, QItemSelectionModel::ClearAndSelect);
    ui.listView->scrollTo(page, QAbstractItemView::EnsureVisible);
}

void PdfManagerForm::updatePreview()
{
    const QModelIndexList indexes = ui.listView->selectionModel()->selectedIndexes();
    if (indexes.isEmpty())
        return;
    const int pageNumber = pageNumberOf(pageModel->itemFromIndex(indexes.constFirst()));
    // Drawn straight at the size it is shown, the preview needs no scaling step.
    previewPixelRatio = ui.previewImage->devicePixelRatioF();
    previewRenderer->render(pageNumber - 1, ui.previewImage->contentsRect().size() * previewPixelRatio);
}

void PdfManagerForm::onPreviewRendered(int page, const QImage &image)
{
    Q_UNUSED(page) // only the latest request is answered
    // A page the file no longer has (it changed on disk) is not shown as the old one.
    if (image.isNull()) {
        ui.previewImage->setText(tr("Preview"));
        return;
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(previewPixelRatio);
    ui.previewImage->setPixmap(pixmap);
}

void PdfManagerForm::OnSplitterMoved(int pos, int index)
{
    Q_UNUSED(pos)
    Q_UNUSED(index)
    if (previewPending)
        return;
    previewPending = true;
    needToResizePreviewDelay = 6;
    previewTimer->start();
}

void PdfManagerForm::updateTimer()
{
    if (needToResizePreviewDelay > 0)
        --needToResizePreviewDelay;
    if (needToResizePreviewDelay <= 0) {
        previewPending = false;
        previewTimer->stop();
        updatePreview();
    }
}
