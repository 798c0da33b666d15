#pragma once

#include <QStyledItemDelegate>

// Draws a file list row as its picture, its page span and, below, the file's
// name, cut short in the middle where it does not fit: files with equal page
// counts can be told apart at a glance. Every row gets the cell of a whole
// picture box, whatever its page's proportions.
class PdfFileItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int FileNameRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    static QString withName(const QStyleOptionViewItem &option, const QString &text, const QString &name);
};
