#include "previewdialog.h"

#include "convertimagefullpreviewlabel.h"
#include "kivlocalconvertimage.h"
#include "loadfullpreviewimagethread.h"
#include "namedwidget.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int smallestWidth = 40;
} // namespace

PreviewDialog::PreviewDialog(QWidget *parent)
    : QDialog(parent)
{
    setupUi();
    refitTimer = new QTimer(this);
    refitTimer->setInterval(10);
    connect(refitTimer, &QTimer::timeout, this, &PreviewDialog::updateTimer);
    connect(previewLabel, &ConvertImageFullPreviewLabel::needToResizeImage, this, &PreviewDialog::onNeedToResizeImage);
    connect(previewLabel, &ConvertImageFullPreviewLabel::startDragImage, this, &PreviewDialog::onStartDragImage);
    connect(previewLabel, &ConvertImageFullPreviewLabel::endDragImage, this, &PreviewDialog::onEndDragImage);
    connect(previewLabel, &ConvertImageFullPreviewLabel::mouseMove, this, &PreviewDialog::onMouseMove);
}

PreviewDialog::~PreviewDialog()
{
    // Workers read the settings and the shared caches; they end before we do.
    for (const QPointer<LoadFullPreviewImageThread> &running : std::as_const(workers)) {
        if (running) {
            running->requestStop();
            running->wait();
        }
    }
}

void PreviewDialog::setupUi()
{
    setObjectName(QStringLiteral("PreviewDialog"));
    resize(400, 425);
    setWindowTitle(tr("Preview"));
    setSizeGripEnabled(false);
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    scrollArea = namedWidget<QScrollArea>(this, "scrollArea");
    scrollArea->setWidgetResizable(true);
    scrollArea->setAccessibleName(tr("Preview"));
    scrollAreaWidgetContents = namedWidget<QWidget>(scrollArea, "scrollAreaWidgetContents");
    previewLabel = namedWidget<ConvertImageFullPreviewLabel>(scrollAreaWidgetContents, "previewLabel");
    previewLabel->setText(tr("Loading image. Please wait..."));
    previewLabel->setAccessibleName(tr("Preview picture"));
    previewLabel->setToolTip(tr("Turn the wheel or press + and - to zoom; drag to move"));
    auto *contentsLayout = new QVBoxLayout(scrollAreaWidgetContents);
    contentsLayout->setContentsMargins(0, 0, 0, 0);
    contentsLayout->addWidget(previewLabel);
    scrollArea->setWidget(scrollAreaWidgetContents);
    sizeInfoLabel = namedWidget<QLabel>(this, "sizeInfoLabel");
    percentResizeLabel = namedWidget<QLabel>(this, "percentResizeLabel");
    auto *info = new QHBoxLayout;
    info->addWidget(sizeInfoLabel);
    info->addSpacing(10);
    info->addWidget(percentResizeLabel);
    info->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scrollArea, 1);
    layout->addLayout(info);
}

void PreviewDialog::loadImage(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return;
    setWindowTitle(tr("Preview - ") + QFileInfo(path).fileName());
    for (const QPointer<LoadFullPreviewImageThread> &running : std::as_const(workers)) {
        if (running)
            running->requestStop();
    }
    workers.removeAll(nullptr);
    loading = true;
    const quint64 current = ++generation;
    auto *worker = new LoadFullPreviewImageThread;
    workers.append(worker);
    worker->path = path;
    worker->settings = KivLocalConvertImage::settings();
    worker->pdfMode = KivLocalConvertImage::pdfMode();
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &LoadFullPreviewImageThread::previewImageReady, this, [this, current](const QImage &image) {
        if (current == generation)
            handleFullPreviewImageReady(image);
    });
    worker->start(QThread::InheritPriority);
}

void PreviewDialog::handleFullPreviewImageReady(QImage image)
{
    loading = false;
    fullImage = image;
    fit();
}

void PreviewDialog::fit()
{
    sizeInfoLabel->setText(QStringLiteral("%1x%2").arg(fullImage.width()).arg(fullImage.height()));
    const QSize viewport = scrollArea->size() - QSize(16, 4);
    scrollAreaWidgetContents->setFixedSize(viewport);
    previewLabel->setFixedSize(viewport);
    if (fullImage.isNull() || viewport.isEmpty())
        return;
    displayedSize = fullImage.size().scaled(viewport, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    showZoom();
}

void PreviewDialog::showZoom()
{
    zoomRatio = double(displayedSize.width()) / fullImage.width();
    percentResizeLabel->setText(QString::number(zoomRatio * 100, 'g', 6) + QLatin1Char('%'));
    previewLabel->setPicture(fullImage, displayedSize);
}

// A zoom step costs no pixels: the label draws the part on screen from the
// full-size picture.
void PreviewDialog::onNeedToResizeImage(int step)
{
    if (fullImage.isNull() || displayedSize.isEmpty())
        return;
    const int change = displayedSize.width() / 10;
    int width = 0;
    if (step > 0) {
        width = displayedSize.width() + change;
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double screenMillimetres = screen ? screen->physicalSize().width() : 0.0;
        if (width > 4 * fullImage.width() && width >= screenMillimetres)
            return;
    } else {
        width = displayedSize.width() - change;
        if (width < smallestWidth)
            return;
    }
    displayedSize = QSize(width, qMax(1, int(qint64(fullImage.height()) * width / fullImage.width())));
    showZoom();
    const QSize viewport = scrollArea->size() - QSize(16, 4);
    const QSize contents = displayedSize.expandedTo(viewport);
    scrollAreaWidgetContents->setFixedSize(contents);
    previewLabel->setFixedSize(contents);
}

void PreviewDialog::onStartDragImage(QPoint pos)
{
    dragging = true;
    lastDragPoint = pos;
}

void PreviewDialog::onEndDragImage()
{
    dragging = false;
}

void PreviewDialog::onMouseMove(QPoint globalPoint, QPoint)
{
    if (!dragging)
        return;
    QScrollBar *horizontal = scrollArea->horizontalScrollBar();
    QScrollBar *vertical = scrollArea->verticalScrollBar();
    horizontal->setValue(horizontal->value() + lastDragPoint.x() - globalPoint.x());
    vertical->setValue(vertical->value() + lastDragPoint.y() - globalPoint.y());
    lastDragPoint = globalPoint;
}

void PreviewDialog::updateTimer()
{
    refitTimer->stop();
    fit();
}

void PreviewDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    refitTimer->start();
}

void PreviewDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    dragging = false;
    emit previewDialogClosed();
}
