#pragma once

// Renders the suit drawings from their text sources and encodes them as the
// 16-colour bitmaps the designer ships. No toolkit: the drawings are plain
// pixels and must come out byte for byte the same on every machine.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace suitart {

// Indices into the standard 16-colour palette; a drawing uses only these four.
enum Ink : std::uint8_t {
    kBlack = 0,
    kGround = 7, // light grey (192,192,192): around the suit and in unpainted parts
    kGrey = 8,   // dark grey (128,128,128): shading outside the paintable panels
    kWhite = 15,
};

struct Picture {
    int id = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // palette indices, top row first

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A fault in a source, with the line it was found on.
struct SourceError : std::runtime_error {
    SourceError(int line, const std::string& what);
    int line;
};

// Draws a source (see resources/art/README.md for the language).
Picture render(std::string_view source);

// A 4-bit, uncompressed, bottom-up BMP with the standard 16-colour palette.
std::vector<std::uint8_t> encodeBmp(const Picture& picture);

} // namespace suitart
