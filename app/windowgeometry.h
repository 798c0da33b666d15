#pragma once

#include <QRect>
#include <QSize>

#include <optional>

// The main window's remembered position and size. The values are kept as the
// unsigned 32-bit numbers the Windows registry stores, so a window that was
// pushed off the left or top edge (negative coordinate) reads as far beyond
// the screen and is brought back.
namespace WindowGeometry {

struct Stored {
    std::optional<quint32> posX;
    std::optional<quint32> posY;
    std::optional<quint32> width;
    std::optional<quint32> height;
};

inline constexpr QRect startGeometry{100, 100, 986, 513};

// Where to put the window on a screen whose usable area is `screen`.
QRect restore(const Stored &stored, QSize screen);

Stored read();
void write(const QRect &geometry);

} // namespace WindowGeometry
