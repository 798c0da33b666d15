#pragma once

#include <QString>

namespace PhotoCorpus {
// Writes `count` photo-like 4000 x 3000 JPEGs (seeded, so every run writes the
// same files) named photo000.jpg ...; every fifth carries EXIF orientation 6
// (turn right to view), as phone cameras write it. False on a write error.
bool write(const QString &folder, int count);
} // namespace PhotoCorpus
