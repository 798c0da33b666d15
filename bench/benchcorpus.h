#pragma once

#include <QString>

namespace BenchCorpus {
// Writes the benchmark documents into folder: mixed100.pdf (text, vector
// graphics and a photo on every page), mixed10.pdf (its first ten pages),
// pages1000.pdf (a long text document) and images20.pdf (a full-page photo per
// page). Needs a QGuiApplication for fonts. Returns false on a write error.
bool write(const QString &folder);
} // namespace BenchCorpus
