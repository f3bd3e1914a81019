#pragma once

// Draws the splash picture from its text source (resources/art/splash.txt)
// and encodes it as the 256-colour bitmap the designer shows at start. No
// toolkit and no font files: the letters come from the source itself, so the
// bitmap is byte for byte the same on every machine.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace splashart {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // top row first

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Draws a source. Suit drawings it names are read from artDir. Throws
// std::runtime_error naming the line of a fault in the source.
Picture render(std::string_view source, const std::string& artDir);

// An 8-bit, uncompressed, bottom-up BMP with a 256-entry palette; the colours
// are numbered in the order they first occur, top row first. Throws
// std::runtime_error when the picture holds more than 256 colours.
std::vector<std::uint8_t> encodeBmp8(const Picture& picture);

} // namespace splashart
