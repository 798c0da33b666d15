#pragma once

#include "convertsettings.h"

#include <QString>

#include <functional>

// Process-wide values of the images tool. The settings are edited on the GUI
// thread and read by workers, so every access goes through a lock and workers
// take a copy.
namespace KivLocalConvertImage {

ConvertSettings settings();
void editSettings(const std::function<void(ConvertSettings &)> &edit);

// Set by the conversion at the start of a run: true for a PDF run. Decides the
// preview's scaling filter.
bool pdfMode();
void setPdfMode(bool pdf);

// What "Open Folder" opens after a run: the output folder or the PDF file.
QString lastOutputLocation();
void setLastOutputLocation(const QString &path);

} // namespace KivLocalConvertImage
