#include "splash.h"

#include "art.h"
#include "catalogue/seeds.h"

#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace splashart {

namespace {

std::runtime_error fault(int line, const std::string& what)
{
    return std::runtime_error("line " + std::to_string(line) + ": " + what);
}

struct Command {
    int line = 0;
    std::vector<std::string> words;
};

// One command a line, `#` starts a comment, a line that begins with a blank
// carries on the command above (the rows of a glyph).
std::vector<Command> parse(std::string_view source)
{
    std::vector<Command> commands;
    std::istringstream in{std::string(source)};
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> list;
        for (std::string w; words >> w;)
            list.push_back(w);
        if (list.empty())
            continue;
        if (line.front() == ' ' || line.front() == '\t') {
            if (commands.empty())
                throw fault(number, "continuation line with nothing to continue");
            commands.back().words.insert(commands.back().words.end(), list.begin(), list.end());
        } else {
            commands.push_back({number, std::move(list)});
        }
    }
    return commands;
}

class Reader {
public:
    explicit Reader(const Command& c)
        : m_c(c)
    {
    }
    int number(std::size_t i) const
    {
        const std::string& w = word(i);
        int v = 0;
        const auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), v);
        if (error != std::errc{} || end != w.data() + w.size())
            throw fault(m_c.line, "'" + w + "' is not a number");
        return v;
    }
    std::uint8_t channel(std::size_t i) const
    {
        const int v = number(i);
        if (v < 0 || v > 255)
            throw fault(m_c.line, "colour channel out of 0-255");
        return static_cast<std::uint8_t>(v);
    }
    Rgb colour(std::size_t i) const { return {channel(i), channel(i + 1), channel(i + 2)}; }
    const std::string& word(std::size_t i) const
    {
        if (i >= m_c.words.size())
            throw fault(m_c.line, "'" + m_c.words[0] + "' needs more values");
        return m_c.words[i];
    }
    std::size_t size() const { return m_c.words.size(); }
    int line() const { return m_c.line; }

private:
    const Command& m_c;
};

struct Glyph {
    int width = 0;
    std::vector<std::string> rows;
};

constexpr Rgb inkColour(std::uint8_t ink)
{
    switch (ink) {
    case suitart::kBlack: return {0, 0, 0};
    case suitart::kGround: return {192, 192, 192};
    case suitart::kGrey: return {128, 128, 128};
    default: return {255, 255, 255};
    }
}

// The loaded suit drawing, in colours, with its ground kept apart so that it
// can be left out when the drawing is placed.
struct Suit {
    int model = -1;
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    std::vector<bool> ground;
};

Suit loadSuit(const std::string& path, int line)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw fault(line, "cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    const suitart::Picture art = suitart::render(text.str());
    Suit suit{art.id / 16 - 1, art.width, art.height, {}, {}};
    for (const std::uint8_t ink : art.pixels) {
        suit.pixels.push_back(inkColour(ink));
        suit.ground.push_back(ink == suitart::kGround);
    }
    return suit;
}

// Paints the white panel around (x, y), as the designer paints an area.
void paintPanel(Suit& suit, int x, int y, Rgb colour)
{
    constexpr Rgb white{255, 255, 255};
    std::vector<std::pair<int, int>> todo{{x, y}};
    while (!todo.empty()) {
        const auto [cx, cy] = todo.back();
        todo.pop_back();
        if (cx < 0 || cy < 0 || cx >= suit.width || cy >= suit.height)
            continue;
        Rgb& p = suit.pixels[static_cast<std::size_t>(cy * suit.width + cx)];
        if (!(p == white))
            continue;
        p = colour;
        todo.insert(todo.end(), {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}});
    }
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

} // namespace

Picture render(std::string_view source, const std::string& artDir)
{
    Picture picture;
    std::optional<Suit> suit;
    std::map<std::string, Glyph> glyphs;
    std::optional<Rgb> shadow;

    auto set = [&picture](int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < picture.width && y < picture.height)
            picture.pixels[static_cast<std::size_t>(y * picture.width + x)] = c;
    };

    const std::vector<Command> commands = parse(source);
    for (const Command& c : commands) {
        if (c.words[0] != "glyph")
            continue;
        const Reader r(c);
        Glyph g;
        for (std::size_t i = 2; i < r.size(); ++i) {
            const std::string& row = r.word(i);
            if (row.find_first_not_of(".X") != std::string::npos)
                throw fault(c.line, "glyph rows are made of '.' and 'X'");
            if (g.width != 0 && static_cast<int>(row.size()) != g.width)
                throw fault(c.line, "glyph rows differ in width");
            g.width = static_cast<int>(row.size());
            g.rows.push_back(row);
        }
        const std::string name = r.word(1) == "space" ? " " : r.word(1);
        if (name.size() != 1 || g.rows.empty())
            throw fault(c.line, "a glyph is one character and at least one row");
        glyphs[name] = std::move(g);
    }

    for (const Command& c : commands) {
        const Reader r(c);
        const std::string& verb = c.words[0];
        if (verb != "size" && verb != "glyph" && picture.width == 0)
            throw fault(c.line, "the picture has no size yet");
        if (verb == "size") {
            picture.width = r.number(1);
            picture.height = r.number(2);
            if (picture.width <= 0 || picture.height <= 0 || picture.width > 4096 || picture.height > 4096)
                throw fault(c.line, "size out of range");
            picture.pixels.assign(static_cast<std::size_t>(picture.width * picture.height), Rgb{});
        } else if (verb == "sky") {
            // A vertical gradient in a few even bands, so it costs few colours.
            const Rgb top = r.colour(1);
            const Rgb bottom = r.colour(4);
            const int bands = r.number(7);
            if (bands < 1 || bands > 128)
                throw fault(c.line, "bands out of 1-128");
            for (int y = 0; y < picture.height; ++y) {
                const int band = y * bands / picture.height;
                auto mix = [&](std::uint8_t a, std::uint8_t b) {
                    return static_cast<std::uint8_t>(bands == 1 ? a : a + (b - a) * band / (bands - 1));
                };
                const Rgb colour{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)};
                for (int x = 0; x < picture.width; ++x)
                    set(x, y, colour);
            }
        } else if (verb == "suit") {
            suit = loadSuit(artDir + "/" + r.word(1), c.line);
        } else if (verb == "paint") {
            if (!suit)
                throw fault(c.line, "paint before suit");
            const int area = r.number(1);
            const Rgb colour = r.colour(2);
            bool found = false;
            for (const cat::AreaSeeds& row : cat::kAreaSeeds) {
                if (row.model != suit->model || row.slot != area)
                    continue;
                found = true;
                for (const cat::SeedPoint s : row.seeds())
                    paintPanel(*suit, s.x, s.y, colour);
            }
            if (!found)
                throw fault(c.line, "the suit has no area " + std::to_string(area));
        } else if (verb == "place") {
            // place X Y W H at DX DY: a part of the suit, its ground left out.
            if (!suit)
                throw fault(c.line, "place before suit");
            const int x0 = r.number(1), y0 = r.number(2), w = r.number(3), h = r.number(4);
            if (r.word(5) != "at")
                throw fault(c.line, "expected 'at'");
            const int dx = r.number(6), dy = r.number(7);
            for (int y = std::max(0, y0); y < std::min(suit->height, y0 + h); ++y)
                for (int x = std::max(0, x0); x < std::min(suit->width, x0 + w); ++x) {
                    const auto i = static_cast<std::size_t>(y * suit->width + x);
                    if (!suit->ground[i])
                        set(dx + x - x0, dy + y - y0, suit->pixels[i]);
                }
        } else if (verb == "glyph") {
            continue; // read before drawing: letters may be defined below their use
        } else if (verb == "shadow") {
            if (r.word(1) == "off")
                shadow.reset();
            else
                shadow = r.colour(1);
        } else if (verb == "text") {
            // text Y SCALE R G B words...: one line, centred across the picture.
            const int top = r.number(1);
            const int scale = r.number(2);
            if (scale < 1 || scale > 16)
                throw fault(c.line, "scale out of 1-16");
            const Rgb colour = r.colour(3);
            std::string text;
            for (std::size_t i = 6; i < r.size(); ++i)
                text += (i > 6 ? " " : "") + r.word(i);
            std::vector<const Glyph*> line;
            int width = 0;
            for (const char ch : text) {
                const auto g = glyphs.find(std::string(1, ch));
                if (g == glyphs.end())
                    throw fault(c.line, std::string("no glyph for '") + ch + "'");
                line.push_back(&g->second);
                width += (g->second.width + 1) * scale;
            }
            width -= scale;
            auto draw = [&](int left, int y0, Rgb ink) {
                for (const Glyph* g : line) {
                    for (std::size_t row = 0; row < g->rows.size(); ++row)
                        for (int col = 0; col < g->width; ++col)
                            if (g->rows[row][static_cast<std::size_t>(col)] == 'X')
                                for (int sy = 0; sy < scale; ++sy)
                                    for (int sx = 0; sx < scale; ++sx)
                                        set(left + col * scale + sx, y0 + static_cast<int>(row) * scale + sy,
                                            ink);
                    left += (g->width + 1) * scale;
                }
            };
            const int left = (picture.width - width) / 2;
            if (shadow)
                draw(left + scale, top + scale, *shadow);
            draw(left, top, colour);
        } else if (verb == "frame") {
            // frame R G B: a one-pixel border around the picture.
            const Rgb colour = r.colour(1);
            for (int x = 0; x < picture.width; ++x) {
                set(x, 0, colour);
                set(x, picture.height - 1, colour);
            }
            for (int y = 0; y < picture.height; ++y) {
                set(0, y, colour);
                set(picture.width - 1, y, colour);
            }
        } else {
            throw fault(c.line, "unknown command '" + verb + "'");
        }
    }
    if (picture.width == 0)
        throw std::runtime_error("the source sets no size");
    return picture;
}

std::vector<std::uint8_t> encodeBmp8(const Picture& picture)
{
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> index;
    index.reserve(picture.pixels.size());
    for (const Rgb& p : picture.pixels) {
        std::size_t i = 0;
        while (i < palette.size() && !(palette[i] == p))
            ++i;
        if (i == palette.size()) {
            if (palette.size() == 256)
                throw std::runtime_error("the picture holds more than 256 colours");
            palette.push_back(p);
        }
        index.push_back(static_cast<std::uint8_t>(i));
    }

    const auto width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t rowBytes = (width + 3) / 4 * 4;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, width);
    put32(out, static_cast<std::uint32_t>(picture.height)); // bottom row first
    put16(out, 1);
    put16(out, 8);
    put32(out, 0); // uncompressed
    put32(out, imageBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 256); // a full palette: the picture is a 256-colour bitmap
    put32(out, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb c = i < palette.size() ? palette[i] : Rgb{};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = index.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        out.insert(out.end(), row, row + picture.width);
        out.resize(out.size() + (rowBytes - width), 0);
    }
    return out;
}

} // namespace splashart
