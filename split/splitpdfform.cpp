#include "splitpdfform.h"

#include "namedwidget.h"
#include "pageedge.h"
#include "pagepreviewrenderer.h"
#include "pdfopenreport.h"
#include "shelldialogs.h"
#include "splitpdfaddpagethread.h"
#include "splitpdfframe.h"
#include "splitpdfglobal.h"
#include "splitpdflistview.h"
#include "splitpdfsideform.h"
#include "splitpdfsplitthread.h"
#include "theme.h"
#include "thumbnailitem.h"
#include "thumbnaillookahead.h"
#include "thumbnailstore.h"
#include "toolsettings.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSettings>
#include <QStandardItemModel>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString settingsApplication = QStringLiteral("SplitPDF");
const QString settingsGroup = QStringLiteral("General");
constexpr int thumbnailBox = 200;
// Requests made while a load runs wait this long, so only the last one loads.
constexpr int reloadDelayMs = 100;
// Rows inserted in one turn of the event loop: a few milliseconds of work, so
// a 100,000-page document does not hold the window while its rows go in.
constexpr int rowsPerTurn = 4096;

QIcon placeholderIcon(qreal pixelRatio)
{
    const int side = qRound(thumbnailBox * pixelRatio);
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::darkGray);
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, side - 1, side - 1);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(pixelRatio);
    return QIcon(pixmap);
}

} // namespace

QSize SplitPDFForm::thumbnailSize() const
{
    // Drawn at the size the list shows them, sharp on high-density screens.
    return QSize(thumbnailBox, thumbnailBox) * devicePixelRatioF();
}

SplitPDFForm::SplitPDFForm(QWidget *parent)
    : QWidget(parent)
{
    pageModel = new QStandardItemModel(this);
    thumbnails = new ThumbnailStore(this);
    thumbnails->setDecorator(drawPageEdge);
    previewRenderer = new PagePreviewRenderer(this);
    connect(previewRenderer, &PagePreviewRenderer::rendered, this, &SplitPDFForm::onPreviewRendered);
    // Pages shown before the listing has got to them, or let go to save
    // memory, are drawn on demand.
    connect(thumbnails, &ThumbnailStore::thumbnailsWanted, this, &SplitPDFForm::renderWantedThumbnails);
    connect(previewRenderer, &PagePreviewRenderer::thumbnailRendered, thumbnails,
            [this](int page, const QByteArray &encoded) { thumbnails->setThumbnail(page, encoded); });
    rowTimer = new QTimer(this);
    rowTimer->setSingleShot(true);
    rowTimer->setInterval(0);
    connect(rowTimer, &QTimer::timeout, this, &SplitPDFForm::appendPageRows);
    setupUi();
    readSettings();
    showDropArea();

    mainListView->setViewMode(QListView::IconMode);
    mainListView->setResizeMode(QListView::Adjust);
    mainListView->setMovement(QListView::Static);
    // A static list turns drops off; a PDF dropped onto the pages replaces them.
    mainListView->viewport()->setAcceptDrops(true);
    mainListView->setUniformItemSizes(true);
    mainListView->setLayoutMode(QListView::Batched);
    // Large batches: a jump far down a long list waits until the layout gets there.
    mainListView->setBatchSize(2048);
    mainListView->setModel(pageModel);
    mainListView->setIconSize(QSize(thumbnailBox, thumbnailBox));
    mainListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mainListView->setDragEnabled(false);
    thumbnails->attach(mainListView);
    lookahead = new ThumbnailLookahead(mainListView, thumbnails);
    connect(lookahead, &ThumbnailLookahead::moved, this, &SplitPDFForm::renderThumbnailsAhead);
    // A long document read again after an idle pause costs a jump the better
    // part of a second: read it while the user is at the list.
    connect(lookahead, &ThumbnailLookahead::engaged, this, [this](bool engaged) {
        if (engaged && pageModel->rowCount() > 0)
            previewRenderer->holdDocument();
        else if (!engaged && !pagesLoading)
            previewRenderer->letGo();
    });
    sourceFrame->setAcceptDrops(true);

    refreshTheme();
    connect(sourceFrame, &SplitPDFFrame::addURLs, this, &SplitPDFForm::on_AddURLs);
    connect(mainListView, &SplitPDFListView::addURLs, this, &SplitPDFForm::on_AddURLs);
    connect(mainListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SplitPDFForm::on_itemSelection_changed);
    QMetaObject::connectSlotsByName(this);
}

SplitPDFForm::~SplitPDFForm()
{
    // The list, going with the form, reports the user turning away after
    // the renderer has gone.
    lookahead->disconnect(this);
    // Replaced loaders may still be reading; none may outlive the form.
    const QList<SplitPDFAddPageThread *> loaders = findChildren<SplitPDFAddPageThread *>();
    for (SplitPDFAddPageThread *loader : loaders)
        loader->stop();
    for (SplitPDFAddPageThread *loader : loaders)
        loader->wait();
    if (splitThread)
        splitThread->wait();
}

void SplitPDFForm::setupUi()
{
    setObjectName(QStringLiteral("SplitPDFForm"));
    setWindowTitle(tr("Form"));
    resize(927, 437);

    widget = namedWidget<QWidget>(this, "widget");
    fileAddButton = namedWidget<QToolButton>(widget, "fileAddButton");
    fileAddButton->setText(tr("Open PDF File"));
    fileAddButton->setIcon(QIcon(Theme::imagePath(QStringLiteral("load_extractIcon.png"))));
    fileAddButton->setIconSize(QSize(24, 24));
    fileAddButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    fileAddButton->setAutoRaise(true);
    mainListView = namedWidget<SplitPDFListView>(widget, "mainListView");
    mainListView->setAccessibleName(tr("Pages of the PDF file"));
    sourceFrame = namedWidget<SplitPDFFrame>(widget, "sourceFrame");
    sourceFrame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    sourceFrame->setMinimumSize(431, 291);
    sourceFrame->setFrameShape(QFrame::Box);
    sourceFrame->setFrameShadow(QFrame::Raised);
    sourceLabel = namedWidget<QLabel>(sourceFrame, "sourceLabel");
    sourceLabel->setText(tr("Drop PDF File here"));
    QFont font = sourceLabel->font();
    font.setPointSize(20);
    font.setBold(true);
    sourceLabel->setFont(font);
    sourceLabel->setAlignment(Qt::AlignCenter);
    sourceImageLabel = namedWidget<QLabel>(sourceFrame, "sourceImageLabel");
    sourceImageLabel->setAlignment(Qt::AlignCenter);
    sourceFrame->setAccessibleName(sourceLabel->text());

    auto *frameLayout = new QVBoxLayout(sourceFrame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setAlignment(Qt::AlignCenter);
    frameLayout->addWidget(sourceImageLabel, 0, Qt::AlignCenter);
    frameLayout->addSpacing(20);
    frameLayout->addWidget(sourceLabel, 0, Qt::AlignCenter);

    sideForm = new SplitPDFSideForm(widget);
    connect(sideForm, &SplitPDFSideForm::startSplitPDF, this, &SplitPDFForm::on_startSplitPDF);
    sideForm->appendRangeForm(1);
    sideForm->show();

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(fileAddButton, 0, Qt::AlignLeft);
    column->addWidget(mainListView);
    column->addWidget(sourceFrame);
    auto *row = new QHBoxLayout(widget);
    row->addLayout(column, 1);
    row->addWidget(sideForm);
    outerLayout = new QVBoxLayout(this);
    outerLayout->setContentsMargins(0, 0, 0, 0);
    outerLayout->addWidget(widget);
}

void SplitPDFForm::readSettings()
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(settingsGroup);
    SplitPDFGlobal::setLoadPath(settings.value(QStringLiteral("loadPath")).toString());
    SplitPDFGlobal::setOutputPath(settings.value(QStringLiteral("outputPath")).toString());
    settings.endGroup();
}

void SplitPDFForm::saveSettings()
{
    QSettings settings(QLatin1String(ToolSettings::organisation), settingsApplication);
    settings.beginGroup(settingsGroup);
    settings.setValue(QStringLiteral("loadPath"), SplitPDFGlobal::loadPath());
    settings.setValue(QStringLiteral("outputPath"), SplitPDFGlobal::outputPath());
    settings.endGroup();
}

void SplitPDFForm::refreshTheme()
{
    Theme::applyIcon(fileAddButton, QStringLiteral("_load_extractIcon.png"),
                     QStringLiteral("_load_extractIconWhite.png"), QStringLiteral("_load_extractIconGray.png"));
    Theme::applyPixmap(sourceImageLabel, QStringLiteral("_PDF128.png"), QStringLiteral("_PDFWhite128.png"));
    sideForm->refreshTheme();
}

void SplitPDFForm::on_fileAddButton_clicked()
{
    const QString path =
        ShellDialogs::getOpenFileName(this, tr("Open PDF File"), SplitPDFGlobal::loadPath(), tr("PDF Files (*.pdf)"));
    if (!path.isEmpty())
        requestLoad(path);
}

void SplitPDFForm::on_AddURLs(QList<QUrl> urls)
{
    if (!urls.isEmpty())
        requestLoad(urls.first().toLocalFile());
}

void SplitPDFForm::requestLoad(const QString &path)
{
    pendingPath = path;
    if (!pagesLoading || !pageLoader) {
        loadPdf(path);
        return;
    }
    pageLoader->stop();
    if (!reloadTimer) {
        reloadTimer = new QTimer(this);
        reloadTimer->setSingleShot(true);
        connect(reloadTimer, &QTimer::timeout, this, &SplitPDFForm::onRefreshTimer);
    }
    reloadTimer->start(reloadDelayMs);
}

void SplitPDFForm::onRefreshTimer()
{
    reloadTimer->stop();
    loadPdf(pendingPath);
}

void SplitPDFForm::loadPdf(const QString &path, const QString &password)
{
    mainListView->show();
    sideForm->show();
    sourceFrame->hide();
    SplitPDFGlobal::setLoadPath(QFileInfo(path).absolutePath());
    SplitPDFGlobal::setCurrentPdfPath(path);
    saveSettings();

    if (pageLoader)
        pageLoader->stop();
    rowTimer->stop();
    pagesToList = 0;
    pageModel->clear();
    thumbnails->clear(devicePixelRatioF());
    thumbnails->setPlaceholder(placeholderIcon(devicePixelRatioF()));
    sideForm->resetPreview();
    previewPage = -1;
    sourcePassword = password;
    previewRenderer->setDocument(path, password);
    // Read at once, beside the listing: a jump while the rows go in is
    // answered by this worker, which must first read a long document.
    if (QFileInfo(path).isFile())
        previewRenderer->holdDocument();
    pagesLoading = true;
    auto *loader = new SplitPDFAddPageThread({path, password}, thumbnailSize(), ++loadGeneration,
                                             thumbnails->byteBudget(), this);
    connect(loader, &SplitPDFAddPageThread::loadPagesStart, this, &SplitPDFForm::onLoadPagesStart);
    connect(loader, &SplitPDFAddPageThread::loadPagesFailed, this, &SplitPDFForm::onLoadPagesFailed);
    connect(loader, &SplitPDFAddPageThread::pagesReady, this, &SplitPDFForm::onPagesReady);
    connect(loader, &SplitPDFAddPageThread::loadPagesFinish, this, &SplitPDFForm::onLoadPagesFinish);
    connect(loader, &QThread::finished, loader, &QObject::deleteLater);
    pageLoader = loader;
    loader->start(QThread::InheritPriority);
}

void SplitPDFForm::onLoadPagesStart(int generation, int pageCount)
{
    if (generation != loadGeneration)
        return;
    SplitPDFGlobal::setPageCount(pageCount);
    sideForm->setPageCount(pageCount);
    pagesToList = pageCount;
    appendPageRows();
}

void SplitPDFForm::appendPageRows()
{
    const int first = pageModel->rowCount();
    const int count = qMin(rowsPerTurn, pagesToList - first);
    if (count <= 0)
        return;
    QList<QStandardItem *> rows;
    rows.reserve(count);
    for (int page = first; page < first + count; ++page)
        rows.append(new ThumbnailItem(thumbnails, page, QString::number(page + 1)));
    pageModel->invisibleRootItem()->appendRows(rows);
    if (pageModel->rowCount() < pagesToList)
        rowTimer->start();
}

void SplitPDFForm::onPagesReady(int generation, int firstPage, const QList<QByteArray> &encoded)
{
    if (generation != loadGeneration)
        return;
    for (int page = firstPage; page < firstPage + encoded.size(); ++page) {
        if (!encoded.at(page - firstPage).isEmpty())
            thumbnails->setThumbnail(page, encoded.at(page - firstPage));
    }
}

void SplitPDFForm::renderWantedThumbnails()
{
    QList<int> pages;
    for (const ThumbnailStore::Id id : thumbnails->takeWanted())
        pages.append(int(id));
    previewRenderer->renderThumbnails(pages, thumbnailSize());
    renderThumbnailsAhead();
}

void SplitPDFForm::renderThumbnailsAhead()
{
    QList<int> pages;
    for (const ThumbnailStore::Id id : lookahead->idsAhead())
        pages.append(int(id));
    previewRenderer->renderThumbnailsAhead(pages, thumbnailSize());
}

void SplitPDFForm::onLoadPagesFinish(int generation)
{
    if (generation != loadGeneration)
        return;
    pagesLoading = false;
    previewRenderer->letGo();
}

void SplitPDFForm::onLoadPagesFailed(int generation, const PdfOpenProblem &problem)
{
    if (generation != loadGeneration)
        return;
    const QString path = SplitPDFGlobal::currentPdfPath();
    showDropArea();
    previewRenderer->close();
    sourcePassword.clear();
    // Whatever the answer, this load has failed; a password starts a new one.
    ++loadGeneration;
    pagesLoading = false;
    SplitPDFGlobal::setPageCount(0);
    sideForm->setPageCount(0);
    if (const std::optional<QString> password = resolveUnopenedPdf(this, tr("Split PDF"), path, problem))
        loadPdf(path, *password);
}

void SplitPDFForm::showDropArea()
{
    mainListView->hide();
    sideForm->hide();
    sourceFrame->show();
}

void SplitPDFForm::on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &)
{
    const QModelIndexList indexes = mainListView->selectionModel()->selectedIndexes();
    if (selected.isEmpty() || indexes.isEmpty())
        return;
    previewPage = indexes.first().data().toInt() - 1;
    const int width = qRound(sideForm->previewImage->width() * devicePixelRatioF());
    // Any page shape fits a box this tall; the width is what the preview shows.
    previewRenderer->render(previewPage, QSize(width, 4 * width));
}

void SplitPDFForm::onPreviewRendered(int page, const QImage &image)
{
    if (page != previewPage)
        return;
    if (image.isNull())
        sideForm->resetPreview();
    else
        sideForm->showPreview(image);
}
