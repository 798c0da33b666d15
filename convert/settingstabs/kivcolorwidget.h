#pragma once

#include <QColor>
#include <QWidget>

// A colour swatch; a left click picks a new colour.
class KivColorWidget : public QWidget
{
    Q_OBJECT
public:
    explicit KivColorWidget(QWidget *parent = nullptr);

    QColor color() const { return swatchColor; }
    void setColor(const QColor &color);

signals:
    void colorUpdated(QColor color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QColor swatchColor = Qt::white;
};
