#include "cicpcolorspace.h"

QColorSpace colorSpaceFromCicp(int primaries, int transfer)
{
    constexpr int bt709 = 1, bt601 = 6, srgb = 13; // transfer characteristics
    constexpr int primariesBt709 = 1, primariesP3 = 12;
    if (transfer != srgb && transfer != bt709 && transfer != bt601)
        return {};
    if (primaries == primariesBt709)
        return QColorSpace(QColorSpace::SRgb);
    if (primaries == primariesP3)
        return QColorSpace(QColorSpace::Primaries::DciP3D65, QColorSpace::TransferFunction::SRgb);
    return {};
}
