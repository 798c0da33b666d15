#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointer>

class ConvertImageFullPreviewLabel;
class LoadFullPreviewImageThread;
class QLabel;
class QScrollArea;
class QTimer;

// A resizable window with one source as it will be converted, zoomable by
// the wheel and pannable by dragging.
class PreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PreviewDialog(QWidget *parent = nullptr);
    ~PreviewDialog() override;

    // Starts making the picture of `path`; a missing file leaves the window as it is.
    void loadImage(const QString &path);
    bool isLoading() const { return loading; }
    // Width of the picture shown, in pixels.
    int displayedWidth() const { return displayedSize.width(); }

signals:
    void previewDialogClosed();

public slots:
    void onNeedToResizeImage(int step);
    void onStartDragImage(QPoint pos);
    void onEndDragImage();
    void onMouseMove(QPoint globalPoint, QPoint localPoint);
    void updateTimer();
    void handleFullPreviewImageReady(QImage image);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setupUi();
    void fit();
    void showZoom();

    QScrollArea *scrollArea = nullptr;
    QWidget *scrollAreaWidgetContents = nullptr;
    ConvertImageFullPreviewLabel *previewLabel = nullptr;
    QLabel *sizeInfoLabel = nullptr;
    QLabel *percentResizeLabel = nullptr;
    QTimer *refitTimer = nullptr;

    // The picture at full size; what is shown is drawn from it at
    // displayedSize, never scaled into a copy.
    QImage fullImage;
    QSize displayedSize;
    double zoomRatio = 1.0;
    bool dragging = false;
    QPoint lastDragPoint;
    bool loading = false;
    // Only the newest load's picture is shown; older workers finish unseen.
    quint64 generation = 0;
    QList<QPointer<LoadFullPreviewImageThread>> workers;
};
