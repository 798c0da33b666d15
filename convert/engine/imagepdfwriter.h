#pragma once

#include "pagestream.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPageLayout>
#include <QPoint>
#include <QRect>

// Writes a PDF 1.6 of one picture per page to a device, page by page, so only
// the page at hand is in memory. Coordinates are device pixels at `dpi`, with
// the origin at the page's top-left corner, as a QPdfWriter of that layout and
// resolution has them.
class ImagePdfWriter
{
public:
    ImagePdfWriter(QIODevice &device, const QPageLayout &layout, int dpi);

    void addPage(const PageStream &page, const QPoint &topLeft);
    int pageCount() const { return int(m_pages.size()); }
    // Writes the page tree and the cross-reference table. False when any write failed.
    bool finish();

private:
    int newObject();
    void beginObject(int number);
    void writeStream(const QByteArray &dictionary, const QByteArray &data);
    void write(const QByteArray &bytes);
    QByteArray placement(const PageStream &page, const QPoint &topLeft) const;

    QIODevice &m_device;
    const QRect m_points;
    const int m_dpi;
    qint64 m_written = 0;
    bool m_ok = true;
    QList<qint64> m_offsets; // of object n + 1
    QList<int> m_pages;      // object numbers of the page dictionaries
};
