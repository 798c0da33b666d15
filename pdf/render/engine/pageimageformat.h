#pragma once

enum class PageImageFormat { Jpg = 0, Png = 1, Webp = 2 };

// The format that `format` (0 JPG, 1 PNG, 2 WEBP) stands for; unknown values count as JPG.
PageImageFormat pageImageFormat(int format);
