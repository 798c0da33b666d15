#pragma once

#include <QColorSpace>

// The colours a file signals by its colour primaries and transfer code points
// (ITU-T H.273, as HEIF and AVIF carry them), where Qt can represent them:
// the sRGB and Display P3 signalling of phone cameras. Invalid otherwise.
QColorSpace colorSpaceFromCicp(int primaries, int transfer);
