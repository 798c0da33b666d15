#pragma once

#include <QString>

#include <optional>

// Drives a tool's real form offscreen through a long listing: drops the input
// as a drop does, jumps to the middle of the list (while it fills, where the
// list shows during the listing), waits for the listing to end and then
// scrolls to the end and back, waiting at every stop for the picture under
// the view's centre. Prints one line of figures; returns a process exit code.
namespace ListDriver {

enum class Tool { PdfToImages, Split, Images, Merge };

std::optional<Tool> toolNamed(const QString &name);
int run(Tool tool, const QString &input);

} // namespace ListDriver
