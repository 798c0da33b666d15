#include "pdffileitemdelegate.h"

void PdfFileItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QString name = index.data(FileNameRole).toString();
    if (name.isEmpty())
        return;
    // Each line is elided on its own, so a long name never hides the span.
    const int width = qMax(option->decorationSize.width(), 1);
    option->text += QChar::LineSeparator + option->fontMetrics.elidedText(name, Qt::ElideMiddle, width);
}
