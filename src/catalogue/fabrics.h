#pragma once

#include "catalogue/colour.h"

#include <span>
#include <string_view>

namespace cat {

struct PaletteColour {
    std::string_view name;
    Colour value;
};

// Each palette lists its colours in cell order; a colour is identified by its
// fabric and cell number, never by its name (names repeat across palettes).
// CottonFelt
inline constexpr PaletteColour kCottonFeltPalette[] = {
    {"Charcoal", rgb(84, 70, 70)},  {"Forest Green", rgb(37, 83, 37)}, {"Royal Blue", rgb(0, 36, 164)},
    {"Black", rgb(1, 1, 1)},        {"Navy Blue", rgb(14, 11, 105)},   {"Silver", rgb(214, 214, 209)},
    {"Pink", rgb(255, 53, 148)},    {"Turquoise", rgb(24, 194, 173)},  {"Magenta", rgb(231, 22, 189)},
    {"White", rgb(255, 255, 255)},  {"Red", rgb(178, 8, 0)},           {"Purple", rgb(130, 35, 199)},
    {"Blue Max", rgb(20, 24, 157)}, {"Maroon", rgb(129, 17, 56)},      {"Yellow", rgb(255, 222, 17)},
    {"Orange", rgb(237, 86, 3)},    {"Hot Purple", rgb(156, 39, 139)},
};

// Polycotton
inline constexpr PaletteColour kPolycottonPalette[] = {
    {"Purple", rgb(100, 22, 139)},
    {"Maroon", rgb(131, 0, 16)},
    {"Orange", rgb(225, 103, 45)},
    {"Turquoise", rgb(23, 154, 157)},
    {"Forest Green", rgb(22, 107, 29)},
    {"Gold", rgb(238, 170, 11)},
    {"Red", rgb(198, 0, 0)},
    {"White", rgb(255, 255, 255)},
    {"Royal Blue", rgb(19, 24, 132)},
    {"Silver", rgb(185, 180, 174)},
    {"Navy Blue", rgb(7, 5, 92)},
    {"Pale Pink", rgb(255, 163, 180)},
    {"Beige", rgb(228, 216, 184)},
    {"Black", rgb(1, 1, 1)},
};

// Acrylic
inline constexpr PaletteColour kAcrylicPalette[] = {
    {"Mauve", rgb(159, 71, 154)},      {"Red", rgb(198, 4, 4)},
    {"Navy Blue", rgb(0, 35, 72)},     {"White", rgb(255, 255, 255)},
    {"Black", rgb(1, 1, 1)},           {"Grey", rgb(192, 192, 192)},
    {"Bright Blue", rgb(16, 20, 172)}, {"Silver", rgb(238, 236, 230)},
    {"Smoke", rgb(88, 89, 103)},       {"Forest Green", rgb(43, 93, 41)},
    {"Emerald", rgb(11, 109, 78)},     {"Turquoise Pin", rgb(20, 147, 140)},
    {"Red Pin", rgb(124, 2, 2)},       {"Light Blue", rgb(21, 139, 153)},
};

// Nylon
inline constexpr PaletteColour kNylonPalette[] = {
    {"Royal Blue", rgb(10, 18, 182)}, {"Pale Blue", rgb(122, 193, 214)}, {"Navy Blue", rgb(0, 72, 111)},
    {"White", rgb(255, 255, 255)},    {"Silver", rgb(163, 171, 173)},    {"Black", rgb(1, 1, 1)},
    {"Maroon", rgb(91, 11, 37)},      {"Red", rgb(190, 8, 0)},           {"Kelly Green", rgb(3, 185, 3)},
    {"Gold", rgb(254, 178, 0)},       {"Purple", rgb(110, 5, 111)},      {"Turquoise", rgb(2, 132, 130)},
    {"Hot Purple", rgb(102, 3, 103)}, {"Peacock", rgb(3, 152, 189)},
};

// Spandex
inline constexpr PaletteColour kSpandexPalette[] = {
    {"Gold", rgb(255, 186, 1)},       {"Black", rgb(1, 1, 1)},          {"Purple", rgb(107, 19, 172)},
    {"Silver", rgb(227, 221, 221)},   {"Red", rgb(213, 21, 0)},         {"Green", rgb(2, 132, 2)},
    {"White", rgb(255, 255, 255)},    {"Yellow", rgb(236, 219, 13)},    {"Orange", rgb(252, 32, 32)},
    {"Burgandy", rgb(155, 11, 101)},  {"Pink", rgb(252, 80, 161)},      {"Navy Blue", rgb(45, 147, 153)},
    {"Light Blue", rgb(3, 187, 231)}, {"Royal Blue", rgb(0, 48, 171)},  {"Peacock", rgb(3, 156, 165)},
    {"Magenta", rgb(255, 33, 117)},   {"Green Glow", rgb(148, 255, 0)},
};

// Tape
inline constexpr PaletteColour kTapePalette[] = {
    {"White", rgb(255, 255, 255)},
    {"Navy Blue", rgb(1, 4, 109)},
    {"Royal Blue", rgb(5, 43, 211)},
    {"Denim", rgb(27, 93, 92)},
    {"Silver", rgb(179, 174, 186)},
    {"Blue", rgb(4, 140, 164)},
    {"Light Pwd Blue", rgb(188, 237, 246)},
    {"Dark Pwd Blue", rgb(33, 131, 145)},
    {"Black", rgb(1, 1, 1)},
    {"Kelly Green", rgb(31, 99, 31)},
    {"Light Purple", rgb(229, 8, 232)},
    {"Grey", rgb(131, 125, 125)},
    {"Maroon", rgb(115, 31, 80)},
    {"Red", rgb(211, 5, 0)},
    {"Pale Pink", rgb(231, 160, 192)},
    {"Orange", rgb(255, 32, 15)},
    {"Rust", rgb(201, 81, 1)},
    {"Forest Green", rgb(43, 93, 41)},
    {"Beige", rgb(180, 149, 114)},
    {"Brown", rgb(89, 45, 0)},
    {"Gold", rgb(254, 200, 0)},
    {"Yellow", rgb(255, 222, 17)},
    {"Flo Green", rgb(0, 158, 41)},
    {"Flo Orange", rgb(243, 3, 3)},
    {"Peacock", rgb(11, 139, 147)},
    {"Pink", rgb(254, 68, 129)},
    {"Flo yellow", rgb(255, 255, 43)},
    {"Smoke", rgb(99, 118, 109)},
    {"Fuschia", rgb(233, 65, 119)},
    {"Purple", rgb(118, 22, 108)},
    {"Emerald", rgb(6, 86, 47)},
};

// ZeroP Canopy
inline constexpr PaletteColour kZeroPCanopyPalette[] = {
    {"Royal", rgb(5, 79, 200)},
    {"Turquoise", rgb(9, 234, 222)},
    {"Navy", rgb(1, 11, 127)},
    {"Flo Yellow", rgb(244, 246, 48)},
    {"Flo Pink", rgb(253, 93, 150)},
    {"Flo Green", rgb(153, 254, 78)},
    {"Black", rgb(1, 1, 1)},
    {"White", rgb(255, 255, 255)},
    {"Magenta", rgb(255, 23, 169)},
    {"Orange", rgb(255, 85, 39)},
    {"Red", rgb(231, 3, 20)},
    {"Silver", rgb(145, 139, 139)},
    {"Light Purple", rgb(178, 77, 179)},
    {"Kelly Green", rgb(20, 184, 12)},
    {"Purple", rgb(64, 32, 112)},
    {"Jade", rgb(1, 175, 145)},
    {"Pale Pink", rgb(255, 145, 189)},
    {"Watermelon", rgb(255, 19, 36)},
};

// Heavy Cotton
inline constexpr PaletteColour kHeavyCottonPalette[] = {
    {"Navy", rgb(1, 1, 44)},       {"Royal Blue", rgb(40, 17, 93)}, {"Black", rgb(1, 1, 1)},
    {"White", rgb(255, 255, 255)}, {"Green", rgb(0, 64, 0)},        {"Gold", rgb(255, 152, 19)},
    {"Red", rgb(212, 0, 0)},       {"Orange", rgb(255, 64, 5)},
};
enum FabricIndex : int {
    kCottonFelt = 0,
    kPolycotton = 1,
    kAcrylic = 2,
    kNylon = 3,
    kSpandex = 4,
    kTape = 5,
    kZeroPCanopy = 6,
    kHeavyCotton = 7,
};

inline constexpr int kFabricCount = 8;

struct Fabric {
    int index;
    std::string_view name; // as listed in the fabric list and matched there
    char letter;           // the fabric code kept per area and printed in the colour list
    std::string_view fallRate;
    std::span<const PaletteColour> palette;
    int gridRows; // Tape has a five-row grid, the others four
};

// clang-format off
inline constexpr Fabric kFabrics[kFabricCount] = {
    {0, "CottonFelt",   'C', " - (Medium)",    kCottonFeltPalette,  4},
    {1, "Polycotton",   'P', " - (Slow)",      kPolycottonPalette,  4},
    {2, "Acrylic",      'A', " - (Very Slow)", kAcrylicPalette,     4},
    {3, "Nylon",        'N', " - (Fast)",      kNylonPalette,       4},
    {4, "Spandex",      'S', "",               kSpandexPalette,     4},
    {5, "Tape",         'T', "",               kTapePalette,        5},
    {6, "ZeroP Canopy", 'Z', "",               kZeroPCanopyPalette, 4},
    {7, "Heavy Cotton", 'H', " - (Slow)",      kHeavyCottonPalette, 4},
};
// clang-format on

constexpr bool isFabricIndex(int f)
{
    return f >= 0 && f < kFabricCount;
}

// The palette entry of (fabric, cell), or nullptr when either is out of range:
// stored indexes come from files and are never trusted.
constexpr const PaletteColour* paletteColour(int fabric, int cell)
{
    if (!isFabricIndex(fabric))
        return nullptr;
    const auto palette = kFabrics[fabric].palette;
    if (cell < 0 || cell >= static_cast<int>(palette.size()))
        return nullptr;
    return &palette[static_cast<std::size_t>(cell)];
}

// Fabric index of a fabric-list entry, or -1 when the text names no fabric.
constexpr int fabricByName(std::string_view name)
{
    for (const Fabric& f : kFabrics)
        if (f.name == name)
            return f.index;
    return -1;
}

} // namespace cat
