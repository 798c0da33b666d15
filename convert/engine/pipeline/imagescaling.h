#pragma once

#include "convertsettings.h"

#include <QSize>

namespace ImageScaling {

// The size the "Scale" options give an image of `size`; `size` itself when
// scaling is off or the scale type is unknown.
QSize scaledSize(const QSize &size, const ConvertSettings &settings);

// The size an image of `size` takes on a page whose printable area is
// `printable` (device pixels): shrunk to fit keeping its aspect ratio, grown
// to fit when `growToFit`, else unchanged.
QSize pageFitSize(const QSize &size, const QSize &printable, bool growToFit);

} // namespace ImageScaling
