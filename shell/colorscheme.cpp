#include "colorscheme.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStyleHints>

namespace {
std::optional<ColorScheme> &pinnedScheme()
{
    static std::optional<ColorScheme> scheme;
    return scheme;
}
} // namespace

ColorScheme currentColorScheme()
{
    if (pinnedScheme())
        return *pinnedScheme();
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark:
        return ColorScheme::Dark;
    case Qt::ColorScheme::Light:
        return ColorScheme::Light;
    default:
        return ColorScheme::Unknown;
    }
#else
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness()
               ? ColorScheme::Dark
               : ColorScheme::Light;
#endif
}

void overrideColorScheme(std::optional<ColorScheme> scheme)
{
    pinnedScheme() = scheme;
}
