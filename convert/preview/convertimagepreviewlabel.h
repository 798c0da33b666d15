#pragma once

#include <QLabel>

// The small preview; once it shows a picture, a "fit to size" mark in its
// corner (or a double click anywhere) opens the full preview.
class ConvertImagePreviewLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ConvertImagePreviewLabel(QWidget *parent = nullptr);

    bool hasImage() const { return imageShown; }
    void setHasImage(bool shown);
    // It asks for no height of its own: a short window shrinks it first.
    QSize sizeHint() const override { return {maximumWidth(), 0}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void mouseDoubleClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool imageShown = false;
};
