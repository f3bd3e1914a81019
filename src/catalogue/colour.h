#pragma once

#include <cstdint>

namespace cat {

// The program's colour: 0x00BBGGRR. Pure black (0) is the outline colour that
// bounds every flood fill, so no palette uses it.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue)
{
    return static_cast<Colour>(red & 0xff) | static_cast<Colour>(green & 0xff) << 8 |
           static_cast<Colour>(blue & 0xff) << 16;
}
constexpr int red(Colour c)
{
    return static_cast<int>(c & 0xff);
}
constexpr int green(Colour c)
{
    return static_cast<int>(c >> 8 & 0xff);
}
constexpr int blue(Colour c)
{
    return static_cast<int>(c >> 16 & 0xff);
}

inline constexpr Colour kBoundary = 0x000000;
inline constexpr Colour kLightGrey = rgb(192, 192, 192);
inline constexpr Colour kWhite = rgb(255, 255, 255);
inline constexpr Colour kDarkGrey = rgb(128, 128, 128);

} // namespace cat
