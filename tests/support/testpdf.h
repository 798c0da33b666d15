#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>

namespace TestPdf {
// Writes a PDF with one page per entry (sizes in points). Each page shows its
// 1-based number in large black text and a red square in its top-left
// quarter; the rest of the page is left unpainted (transparent), so callers
// can check that renderings come out on white.
bool write(const QString &path, const QList<QSizeF> &pageSizes);

// n pages of A4 portrait (595 x 842 points).
bool writeA4(const QString &path, int pageCount);

// A PDF of the given objects, numbered from 1 (the first is the catalog), with
// a correct cross-reference table; `trailerEntries` are added to the trailer.
QByteArray fromObjects(const QByteArray &version, const QList<QByteArray> &objects,
                       const QByteArray &trailerEntries = QByteArray());

// A one-page PDF whose page tree loops: the /Pages node lists itself as a
// kid. Its cross-reference table is correct, so readers get to the tree.
bool writeLoopingPageTree(const QString &path);

inline const QSizeF a4Portrait{595, 842};
inline const QSizeF a4Landscape{842, 595};
} // namespace TestPdf
