#pragma once

#include "catalogue/colour.h"

#include <QColor>
#include <QRgb>

namespace render {

// The one place where the program's 0x00BBGGRR colour meets Qt's 0xAARRGGBB.
constexpr QRgb toQRgb(cat::Colour c)
{
    return 0xff000000U | static_cast<QRgb>(cat::red(c)) << 16 | static_cast<QRgb>(cat::green(c)) << 8 |
           static_cast<QRgb>(cat::blue(c));
}

constexpr cat::Colour fromQRgb(QRgb q)
{
    return cat::rgb(static_cast<int>(q >> 16 & 0xff), static_cast<int>(q >> 8 & 0xff),
                    static_cast<int>(q & 0xff));
}

inline QColor toQColor(cat::Colour c)
{
    return QColor::fromRgb(toQRgb(c));
}

} // namespace render
