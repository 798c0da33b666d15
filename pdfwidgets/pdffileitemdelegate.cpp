#include "pdffileitemdelegate.h"

#include <QApplication>

void PdfFileItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = withName(*option, option->text, index.data(FileNameRole).toString());
}

// A view measures every row to lay the list out but paints only the few in
// sight: the measure never asks for the picture, which would decode it.
QSize PdfFileItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem measured = option;
    measured.index = index;
    measured.features |= QStyleOptionViewItem::HasDecoration;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty())
        measured.features |= QStyleOptionViewItem::HasDisplay;
    measured.text = withName(measured, text, index.data(FileNameRole).toString());
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    return style->sizeFromContents(QStyle::CT_ItemViewItem, &measured, QSize(), widget);
}

QString PdfFileItemDelegate::withName(const QStyleOptionViewItem &option, const QString &text, const QString &name)
{
    if (name.isEmpty())
        return text;
    // Each line is elided on its own, so a long name never hides the span.
    const int width = qMax(option.decorationSize.width(), 1);
    return text + QChar::LineSeparator + option.fontMetrics.elidedText(name, Qt::ElideMiddle, width);
}
