#include "pageimageformat.h"

PageImageFormat pageImageFormat(int format)
{
    switch (format) {
    case 1:
        return PageImageFormat::Png;
    case 2:
        return PageImageFormat::Webp;
    default:
        return PageImageFormat::Jpg;
    }
}
