#pragma once

#include <QSize>
#include <QString>

// The PDF-to-images tool's process-wide values. The loading thread publishes
// the document's path, page size and page count while the GUI thread may read
// them, so every access goes through one lock.
class PdfManagerGlobal
{
public:
    enum PageAction { paLoadPage, paExportPage };

    static QString currentPdfPath();
    static void setCurrentPdfPath(const QString &path);

    // The first page's size in points, rounded; every page is drawn at it.
    static QSize pageSize();
    static void setPageSize(QSize size);

    static int pageCount();
    static void setPageCount(int count);

    // Which job the Cancel button stops.
    static PageAction pageAction();
    static void setPageAction(PageAction action);

    static QString currentTargetFolderPath();
    static void setCurrentTargetFolderPath(const QString &path);

    static QString loadFolderPath();
    static void setLoadFolderPath(const QString &path);

    // 0 JPG, 1 PNG, 2 WEBP.
    static int outputFormat();
    static void setOutputFormat(int format);

    // 0..4, a factor of index + 1.
    static int exportScale();
    static void setExportScale(int scale);
};
