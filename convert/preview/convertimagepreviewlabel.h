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
