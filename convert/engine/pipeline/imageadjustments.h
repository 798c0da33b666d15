#pragma once

#include "convertsettings.h"

#include <QImage>
#include <QList>

// The pixel rules of the "Adjustments" tab, applied in list order to a copy.
QImage applyAdjustments(const QImage &image, const QList<AdjustmentRule> &rules);

// One rule of kind `kind` with parameter `value`; unknown kinds return the image.
QImage applyAdjustment(const QImage &image, int kind, int value);
