#pragma once

#include <optional>

enum class ColorScheme { Unknown, Light, Dark };

// The platform's colour scheme at this moment. Qt 6.5 reports it directly;
// older Qt has no such query, so the application palette decides: a window
// colour darker than the text colour means a dark scheme.
ColorScheme currentColorScheme();

inline bool isDarkColorScheme()
{
    return currentColorScheme() == ColorScheme::Dark;
}

// Lets tests pin the scheme (std::nullopt returns to the platform's answer).
// GUI thread only.
void overrideColorScheme(std::optional<ColorScheme> scheme);
