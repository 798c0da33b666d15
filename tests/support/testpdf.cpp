#include "testpdf.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace TestPdf {

bool write(const QString &path, const QList<QSizeF> &pageSizes)
{
    if (pageSizes.isEmpty())
        return false;
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(pageSizes.first(), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pageSizes.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(pageSizes.at(i), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.newPage();
        }
        const QSizeF size = pageSizes.at(i);
        painter.fillRect(QRectF(10, 10, size.width() / 4, size.width() / 4), Qt::red);
        QFont font = painter.font();
        font.setPixelSize(int(size.height() / 6));
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, size.height() / 3, size.width(), size.height() / 3), Qt::AlignCenter,
                         QString::number(i + 1));
    }
    return painter.end();
}

bool writeA4(const QString &path, int pageCount)
{
    return write(path, QList<QSizeF>(pageCount, a4Portrait));
}

} // namespace TestPdf
