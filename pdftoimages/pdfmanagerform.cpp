#include "pdfmanagerform.h"

#include "aboutdialog.h"
#include "cocoacode.h"
#include "kivglobal.h"
#include "pageedge.h"
#include "pagepreviewrenderer.h"
#include "pagerendering.h"
#include "pdfmanageraddpagethread.h"
#include "pdfmanagerexportpagethread.h"
#include "pdfmanagerframe.h"
#include "pdfmanagerglobal.h"
#include "pdfmanagerlistview.h"
#include "pdfmanagertableview.h"
#include "pdfopenreport.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "theme.h"
#include "thumbnailitem.h"
#include "thumbnaillookahead.h"
#include "thumbnailstore.h"
#include "toolsettings.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

const QString settingsApplication = QStringLiteral("Quillbox");
const QString settingsGroup = QStringLiteral("PdfManager");
// The box a thumbnail fills in the page list, in device-independent pixels.
constexpr int thumbnailBox = 200;

// Stands for a page whose picture is still to be drawn: a blank page.
QIcon pagePlaceholder(QSize pixels, qreal pixelRatio)
{
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(QColor(0xf4, 0xf4, 0xf4));
    drawPageEdge(image);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(pixelRatio);
    return QIcon(pixmap);
}

} // namespace

PdfManagerForm::PdfManagerForm(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    pageModel = new QStandardItemModel(this);
    checkedModel = new QStandardItemModel(this);
    previewTimer = new QTimer(this);
    previewRenderer = new PagePreviewRenderer(this);
    previewTimer->setObjectName(QStringLiteral("previewTimer"));
    previewTimer->setInterval(100);
    progressTimer = new QTimer(this);
    progressTimer->setSingleShot(true);
    progressTimer->setInterval(50);
    thumbnails = new ThumbnailStore(this);
    thumbnails->setDecorator(drawPageEdge);

    setupViews();
    for (QToolButton *button : {ui.exportButton, ui.checkAllButton, ui.uncheckAllButton, ui.pageRangeButton})
        button->setEnabled(false);
    readSettings();

    folderPicker = new CocoaCode(this);
    folderPicker->hide();

    ui.line_3->setVisible(!KivGlobal::isPdfManager);
    ui.websiteButton->setVisible(!KivGlobal::isPdfManager);
    ui.aboutButton->setVisible(!KivGlobal::isPdfManager);
    ui.checkedTabWidget->hide();
    refreshTheme();
    connectSignals();
    isReady = true;
}

PdfManagerForm::~PdfManagerForm()
{
    // The list, going with the form, reports the user turning away after
    // the renderer has gone.
    lookahead->disconnect(this);
    stopThreadsAndWait();
}

void PdfManagerForm::setupViews()
{
    ui.listView->setViewMode(QListView::IconMode);
    ui.listView->setResizeMode(QListView::Adjust);
    ui.listView->setMovement(QListView::Static);
    // A static list turns drops off; PDFs dropped onto the pages are still welcome.
    ui.listView->viewport()->setAcceptDrops(true);
    // Every thumbnail has the first page's proportions, so one item size fits
    // all and large documents lay out in batches without measuring each row.
    ui.listView->setUniformItemSizes(true);
    ui.listView->setLayoutMode(QListView::Batched);
    // Large batches: a jump far down a long list waits until the layout gets there.
    ui.listView->setBatchSize(2048);
    ui.listView->setSpacing(6);
    ui.listView->setModel(pageModel);
    ui.listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.listView->setDragEnabled(false);
    thumbnails->attach(ui.listView);
    thumbnails->attach(ui.checkedView);
    lookahead = new ThumbnailLookahead(ui.listView, thumbnails);

    ui.checkedView->setModel(checkedModel);
    ui.checkedView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.checkedView->setDragEnabled(false);
    ui.checkedView->setIconSize(QSize(96, 96));
    ui.checkedView->horizontalHeader()->hide();
    ui.checkedView->verticalHeader()->hide();
    ui.checkedView->horizontalHeader()->setDefaultSectionSize(120);
    ui.checkedView->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui.checkedView->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.checkedTabWidget->setFixedHeight(170);
}

void PdfManagerForm::connectSignals()
{
    ui.sourceFrame->setAcceptDrops(true);
    connect(ui.sourceFrame, &PdfManagerFrame::addURLs, this, &PdfManagerForm::on_AddURLs);
    connect(ui.listView, &PdfManagerListview::addURLs, this, &PdfManagerForm::on_AddURLs);
    connect(ui.listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PdfManagerForm::on_itemSelection_changed);
    connect(folderPicker, &CocoaCode::folderSelected, this, &PdfManagerForm::on_FolderSelected);
    connect(ui.checkedView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PdfManagerForm::on_checkedView_itemSelection_changed);
    connect(previewTimer, &QTimer::timeout, this, &PdfManagerForm::updateTimer);
    connect(progressTimer, &QTimer::timeout, this, &PdfManagerForm::showLoadProgress);
    connect(ui.splitter, &QSplitter::splitterMoved, this, &PdfManagerForm::OnSplitterMoved);
    connect(previewRenderer, &PagePreviewRenderer::rendered, this, &PdfManagerForm::onPreviewRendered);
    // Pages shown without their picture (not drawn yet, or let go to save
    // memory) are drawn on demand.
    connect(thumbnails, &ThumbnailStore::thumbnailsWanted, this, &PdfManagerForm::renderWantedThumbnails);
    connect(previewRenderer, &PagePreviewRenderer::thumbnailRendered, thumbnails,
            [this](int page, const QByteArray &encoded) { thumbnails->setThumbnail(page, encoded); });
    connect(lookahead, &ThumbnailLookahead::moved, this, &PdfManagerForm::renderThumbnailsAhead);
    // A long document read again after an idle pause costs a jump the better
    // part of a second: read it while the user is at the list.
    connect(lookahead, &ThumbnailLookahead::engaged, this, [this](bool engaged) {
        if (engaged && pageModel->rowCount() > 0)
            previewRenderer->holdDocument();
        else if (!engaged && !addPageThread)
            previewRenderer->letGo();
    });
    // A page checked from the keyboard has to reach the strip as a click does.
    connect(pageModel, &QStandardItemModel::itemChanged, this, &PdfManagerForm::onPageItemChanged);
    QMetaObject::connectSlotsByName(this);
}

void PdfManagerForm::readSettings()
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(settingsGroup);
    PdfManagerGlobal::setCurrentTargetFolderPath(
        ToolSettings::readFolder(settings, QStringLiteral("exportPath"), ShellHelpers::picturesFolder()));
    PdfManagerGlobal::setLoadFolderPath(
        ToolSettings::readFolder(settings, QStringLiteral("loadPath"), ShellHelpers::documentsFolder()));
    PdfManagerGlobal::setOutputFormat(ToolSettings::readIndex(settings, QStringLiteral("outputFormat"), 0, 2));
    PdfManagerGlobal::setExportScale(ToolSettings::readIndex(settings, QStringLiteral("exportScale"), 1, 4));
    settings.endGroup();

    ui.outputComboBox->setCurrentIndex(PdfManagerGlobal::outputFormat());
    ui.scaleComboBox->setCurrentIndex(PdfManagerGlobal::exportScale());
}

void PdfManagerForm::writeSetting(const QString &key, const QVariant &value)
{
    if (!isReady)
        return;
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(settingsGroup);
    settings.setValue(key, value);
    settings.endGroup();
}

void PdfManagerForm::refreshTheme()
{
    Theme::applyIcon(ui.checkAllButton, QStringLiteral("_IconYes24.png"), QStringLiteral("_IconYesWhite24.png"),
                     QStringLiteral("_IconYesGray24.png"));
    Theme::applyIcon(ui.uncheckAllButton, QStringLiteral("_IconNo24.png"), QStringLiteral("_IconNoWhite24.png"),
                     QStringLiteral("_IconNoGray24.png"));
    Theme::applyIcon(ui.loadButton, QStringLiteral("_load_extractIcon.png"),
                     QStringLiteral("_load_extractIconWhite.png"), QStringLiteral("_load_extractIconGray.png"));
    Theme::applyIcon(ui.exportButton, QStringLiteral("_export_extractIcon.png"),
                     QStringLiteral("_export_extractIconWhite.png"), QStringLiteral("_export_extractIconGray.png"));
    Theme::applyIcon(ui.pageRangeButton, QStringLiteral("_IconRange24.png"), QStringLiteral("_IconRangeWhite24.png"),
                     QStringLiteral("_IconRangeGray24.png"));
    Theme::applyIcon(ui.websiteButton, QStringLiteral("_websiteIcon24.png"), QStringLiteral("_websiteWhiteIcon24.png"));
    Theme::applyIcon(ui.aboutButton, QStringLiteral("_About24.png"), QStringLiteral("_AboutWhite24.png"));
    Theme::applyPixmap(ui.sourceImageLabel, QStringLiteral("_PDF128.png"), QStringLiteral("_PDFWhite128.png"));
    // A new style sheet lays the whole list out again, batch by batch, and a
    // long list scrolled far down loses its place: set it only when it changes.
    const QString sheet = Theme::checkListStyleSheet(QStringLiteral("QListView"));
    if (ui.listView->styleSheet() != sheet)
        ui.listView->setStyleSheet(sheet);
}

void PdfManagerForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui.retranslateUi();
    QWidget::changeEvent(event);
}

void PdfManagerForm::setBusy(bool busy)
{
    ui.loadButton->setEnabled(!busy);
    ui.exportButton->setEnabled(!busy && anyPageChecked());
    for (QWidget *widget :
         std::initializer_list<QWidget *>{ui.outputLabel, ui.outputComboBox, ui.scaleLabel, ui.scaleComboBox})
        widget->setEnabled(!busy);
    // Checking needs pages to check.
    const bool pagesListed = pageModel->rowCount() > 0;
    for (QWidget *widget : std::initializer_list<QWidget *>{ui.checkAllButton, ui.uncheckAllButton, ui.pageRangeButton})
        widget->setEnabled(!busy && pagesListed);
    refreshTheme();
}

void PdfManagerForm::setTopRowVisible(bool visible)
{
    for (QWidget *widget : std::initializer_list<QWidget *>{
             ui.loadButton, ui.exportButton, ui.line, ui.checkAllButton, ui.uncheckAllButton, ui.pageRangeButton,
             ui.line_2, ui.outputLabel, ui.outputComboBox, ui.scaleLabel, ui.scaleComboBox})
        widget->setVisible(visible);
}

void PdfManagerForm::showPage(PdfManagerFormUi::Page page)
{
    ui.stackedLayout->setCurrentIndex(page);
}

void PdfManagerForm::on_loadButton_clicked()
{
    const QString path = ShellDialogs::getOpenFileName(this, tr("Open PDF File"), PdfManagerGlobal::loadFolderPath(),
                                                       tr("PDF Files (*.pdf)"));
    if (path.isEmpty())
        return;
    PdfManagerGlobal::setLoadFolderPath(QFileInfo(path).path());
    startAddPageThread(path);
    writeSetting(QStringLiteral("loadPath"), PdfManagerGlobal::loadFolderPath());
}

void PdfManagerForm::on_AddURLs(QList<QUrl> urls)
{
    if (urls.isEmpty())
        return;
    startAddPageThread(QDir::toNativeSeparators(urls.constFirst().toLocalFile()));
}

void PdfManagerForm::startAddPageThread(const QString &path, const QString &password)
{
    // A load still running belongs to a document the user has replaced.
    if (addPageThread)
        addPageThread->requestStop();
    const int generation = ++loadGeneration;
    pageModel->clear();
    clearCheckedView();
    thumbnailPixels = QSize(thumbnailBox, thumbnailBox) * ui.listView->devicePixelRatioF();
    thumbnails->clear(ui.listView->devicePixelRatioF());
    ui.checkedTabWidget->hide();
    ui.previewImage->setText(tr("Preview"));
    pdfPassword = password;
    loadProblem = {};
    previewRenderer->setDocument(path, password);

    // Busy from now on: opening a large file or one on a network share takes
    // seconds before the first page is known.
    stopRequested = false;
    PdfManagerGlobal::setPageAction(PdfManagerGlobal::paLoadPage);
    setBusy(true);
    setTopRowVisible(false);
    progressTimer->stop();
    ui.progressBar->setRange(0, 0);
    ui.progressLabel->setText(tr("Opening the PDF file. Please wait..."));
    showPage(PdfManagerFormUi::ProgressPage);

    auto *thread =
        new PdfManagerAddPageThread(path, thumbnailPixels, generation, thumbnails->byteBudget(), this);
    thread->setPassword(password);
    addPageThread = thread;
    // Signals of an abandoned load may still be queued; only the latest load's count.
    const auto latest = [this, generation] { return generation == loadGeneration; };
    // The end of the thread rather than its loadPagesFinish(): a load cancelled
    // before the thread got to run ends without any signal of its own.
    connect(thread, &QThread::finished, this, [this, latest, path] {
        if (!latest())
            return;
        onLoadPagesFinish();
        if (loadProblem.failed() && !stopRequested)
            handleUnopenedPdf(path, loadProblem);
    });
    connect(thread, &PdfManagerAddPageThread::loadPagesFailed, this, [this, latest](const PdfOpenProblem &problem) {
        if (latest())
            loadProblem = problem;
    });
    connect(thread, &PdfManagerAddPageThread::loadPagesStart, this, [this, latest] {
        if (latest())
            onLoadPagesStart();
    });
    connect(thread, &PdfManagerAddPageThread::loadPagesProgress, this, [this, latest](int index) {
        if (latest())
            onloadPagesProgress(index);
    });
    connect(thread, &PdfManagerAddPageThread::pagesLoaded, this, &PdfManagerForm::onPagesLoaded);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);
}

void PdfManagerForm::onLoadPagesStart()
{
    thumbnails->setPlaceholder(pagePlaceholder(fitIntoBox(PdfManagerGlobal::pageSize(), thumbnailPixels),
                                               thumbnails->devicePixelRatio()));
    const int count = PdfManagerGlobal::pageCount();
    if (count > 0)
        previewRenderer->holdDocument();
    ui.progressBar->setRange(0, count);
    ui.progressBar->setValue(0);
    ui.progressLabel->setText(tr("Loading page 0 of %1. Please wait...").arg(count));
}

void PdfManagerForm::onloadPagesProgress(int index)
{
    pagesListed = index;
    if (!progressTimer->isActive())
        progressTimer->start();
}

void PdfManagerForm::showLoadProgress()
{
    ui.progressBar->setValue(pagesListed);
    ui.progressLabel->setText(
        tr("Loading page %1 of %2. Please wait...").arg(pagesListed).arg(PdfManagerGlobal::pageCount()));
}

void PdfManagerForm::onPagesLoaded(int generation, int firstPage, const QList<QByteArray> &encoded)
{
    // Batches of one load arrive in page order.
    if (generation != loadGeneration || firstPage != pageModel->rowCount())
        return;
    QList<QStandardItem *> rows;
    rows.reserve(encoded.size());
    for (int page = firstPage; page < firstPage + encoded.size(); ++page) {
        const QByteArray &picture = encoded.at(page - firstPage);
        if (!picture.isEmpty())
            thumbnails->setThumbnail(page, picture);
        auto *item = new ThumbnailItem(thumbnails, page, QString::number(page + 1));
        item->setCheckable(true);
        item->setCheckState(Qt::Unchecked);
        item->setEditable(false);
        rows.append(item);
    }
    if (!rows.isEmpty())
        pageModel->invisibleRootItem()->appendRows(rows);
}

void PdfManagerForm::renderWantedThumbnails()
{
    QList<int> pages;
    for (const ThumbnailStore::Id id : thumbnails->takeWanted())
        pages.append(int(id));
    previewRenderer->renderThumbnails(pages, thumbnailPixels);
    renderThumbnailsAhead();
}

void PdfManagerForm::renderThumbnailsAhead()
{
    QList<int> pages;
    for (const ThumbnailStore::Id id : lookahead->idsAhead())
        pages.append(int(id));
    previewRenderer->renderThumbnailsAhead(pages, thumbnailPixels);
}

void PdfManagerForm::onLoadPagesFinish()
{
    previewRenderer->letGo();
    progressTimer->stop();
    setBusy(false);
    setTopRowVisible(true);
    ui.progressBar->setValue(ui.progressBar->maximum());
    if (stopRequested || loadProblem.failed()) {
        showPage(PdfManagerFormUi::SourcePage);
        return;
    }
    ui.listView->setIconSize(QSize(thumbnailBox, thumbnailBox));
    showPage(PdfManagerFormUi::ResultPage);
}

void PdfManagerForm::handleUnopenedPdf(const QString &path, const PdfOpenProblem &problem)
{
    previewRenderer->close();
    pdfPassword.clear();
    if (const std::optional<QString> password = resolveUnopenedPdf(this, tr("PDF to Image"), path, problem))
        startAddPageThread(path, *password);
}

void PdfManagerForm::on_progressCancelButton_clicked()
{
    stopRequested = true;
    if (PdfManagerGlobal::pageAction() == PdfManagerGlobal::paLoadPage) {
        if (addPageThread)
            addPageThread->requestStop();
    } else if (exportPageThread) {
        exportPageThread->requestStop();
    }
}

void PdfManagerForm::stopThreadsAndWait()
{
    // Threads are children of the form; they must have ended before the
    // QObject destructor deletes them.
    const QList<QThread *> threads = findChildren<QThread *>(Qt::FindDirectChildrenOnly);
    for (QThread *thread : threads) {
        if (auto *loader = qobject_cast<PdfManagerAddPageThread *>(thread))
            loader->requestStop();
        else if (auto *exporter = qobject_cast<PdfManagerExportPageThread *>(thread))
            exporter->requestStop();
    }
    for (QThread *thread : threads)
        thread->wait();
}

void PdfManagerForm::on_outputComboBox_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    PdfManagerGlobal::setOutputFormat(ui.outputComboBox->currentIndex());
    writeSetting(QStringLiteral("outputFormat"), PdfManagerGlobal::outputFormat());
}

void PdfManagerForm::on_scaleComboBox_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    PdfManagerGlobal::setExportScale(ui.scaleComboBox->currentIndex());
    writeSetting(QStringLiteral("exportScale"), PdfManagerGlobal::exportScale());
}

void PdfManagerForm::on_aboutButton_clicked()
{
    QPointer<AboutDialog> dialog = new AboutDialog(this);
    ShellDialogs::exec(dialog);
    if (dialog)
        dialog->deleteLater();
}

void PdfManagerForm::on_websiteButton_clicked()
{
    ShellHelpers::openWebPage(KivGlobal::websiteUrl());
}
