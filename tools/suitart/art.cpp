#include "art.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace suitart {

SourceError::SourceError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what)
    , line(line)
{
}

namespace {

struct Point {
    double x;
    double y;
};

struct Pixel {
    int x;
    int y;
    bool operator==(const Pixel&) const = default;
};

// A point as written: on the shape, or a control point that bends the
// curve between its neighbours.
struct Mark {
    Point at;
    bool control;
};

struct Command {
    int line = 0;
    std::vector<std::string_view> words;
};

std::vector<std::string_view> split(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

// Commands, one a line; a line that starts with a blank carries on the one
// before, so long outlines can be laid out a few points a line.
std::vector<Command> parseLines(std::string_view source)
{
    std::vector<Command> commands;
    int number = 0;
    while (!source.empty()) {
        ++number;
        const std::size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source = end == std::string_view::npos ? std::string_view{} : source.substr(end + 1);
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        const auto words = split(line);
        if (words.empty())
            continue;
        const bool continues = line.front() == ' ' || line.front() == '\t';
        if (continues) {
            if (commands.empty())
                throw SourceError(number, "continuation line with nothing to continue");
            auto& last = commands.back().words;
            last.insert(last.end(), words.begin(), words.end());
        } else {
            commands.push_back({number, words});
        }
    }
    return commands;
}

double number(const Command& c, std::string_view word)
{
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size())
        throw SourceError(c.line, "not a number: " + std::string(word));
    return value;
}

int whole(const Command& c, std::string_view word)
{
    const double value = number(c, word);
    if (value != std::floor(value))
        throw SourceError(c.line, "not a whole number: " + std::string(word));
    return static_cast<int>(value);
}

Ink ink(const Command& c, std::string_view word)
{
    if (word == "black")
        return kBlack;
    if (word == "white")
        return kWhite;
    if (word == "grey")
        return kGrey;
    if (word == "ground")
        return kGround;
    throw SourceError(c.line, "unknown ink: " + std::string(word));
}

Mark mark(const Command& c, std::string_view word)
{
    const bool control = !word.empty() && word.front() == '^';
    if (control)
        word.remove_prefix(1);
    const std::size_t comma = word.find(',');
    if (comma == std::string_view::npos)
        throw SourceError(c.line, "point wants x,y: " + std::string(word));
    return {{static_cast<double>(whole(c, word.substr(0, comma))),
             static_cast<double>(whole(c, word.substr(comma + 1)))},
            control};
}

Pixel snap(Point p)
{
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

void addCurve(std::vector<Pixel>& out, Point from, Point control, Point to)
{
    const double length =
        std::hypot(control.x - from.x, control.y - from.y) + std::hypot(to.x - control.x, to.y - control.y);
    const int steps = std::max(2, static_cast<int>(std::ceil(length / 4.0)));
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double u = 1.0 - t;
        out.push_back(snap({u * u * from.x + 2 * u * t * control.x + t * t * to.x,
                            u * u * from.y + 2 * u * t * control.y + t * t * to.y}));
    }
}

// Turns written marks into the pixel corners of a polyline. Two control
// points in a row imply an on-curve point half way between them.
std::vector<Pixel> trace(const Command& c, const std::vector<Mark>& marks, bool closed)
{
    if (marks.empty())
        throw SourceError(c.line, "no points");
    if (marks.front().control || (!closed && marks.back().control))
        throw SourceError(c.line, "a shape starts and ends on a plain point");
    std::vector<Pixel> out{snap(marks.front().at)};
    Point last = marks.front().at;
    const std::size_t n = marks.size();
    const std::size_t count = closed ? n + 1 : n;
    for (std::size_t i = 1; i < count; ++i) {
        const Mark& m = marks[i % n];
        if (!m.control) {
            out.push_back(snap(m.at));
            last = m.at;
            continue;
        }
        const Mark& next = marks[(i + 1) % n];
        const Point to = next.control ? Point{(m.at.x + next.at.x) / 2, (m.at.y + next.at.y) / 2} : next.at;
        addCurve(out, last, m.at, to);
        last = to;
        if (!next.control)
            ++i; // the curve ended on it
    }
    out.erase(std::unique(out.begin(), out.end()), out.end());
    if (closed && out.size() > 1 && out.back() == out.front())
        out.pop_back();
    return out;
}

class Canvas {
public:
    explicit Canvas(Picture& picture)
        : p_(picture)
    {
    }

    void plot(int x, int y, Ink ink)
    {
        if (x >= 0 && y >= 0 && x < p_.width && y < p_.height)
            p_.pixels[static_cast<std::size_t>(y * p_.width + x)] = ink;
    }

    // Bresenham, always walked from the same end, so a seam drawn twice in
    // opposite directions lands on the same pixels. Its steps are 8-connected,
    // which is enough to stop a 4-connected fill.
    void segment(Pixel a, Pixel b, Ink ink)
    {
        for (const Pixel p : segmentPixels(a, b))
            plot(p.x, p.y, ink);
    }

    static std::vector<Pixel> segmentPixels(Pixel a, Pixel b)
    {
        std::vector<Pixel> out;
        if (b.y < a.y || (b.y == a.y && b.x < a.x))
            std::swap(a, b);
        const int dx = std::abs(b.x - a.x);
        const int dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1;
        const int sy = a.y < b.y ? 1 : -1;
        int error = dx + dy;
        for (;;) {
            out.push_back(a);
            if (a == b)
                return out;
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                a.x += sx;
            }
            if (twice <= dx) {
                error += dx;
                a.y += sy;
            }
        }
    }

    // Stitching: two pixels on, two off, along the same path a line takes.
    // The gaps let a fill through, so stitching never splits a panel.
    void stitches(const std::vector<Pixel>& pts, Ink ink)
    {
        std::vector<Pixel> path;
        for (std::size_t i = 1; i < pts.size(); ++i) {
            std::vector<Pixel> piece = segmentPixels(pts[i - 1], pts[i]);
            if (!(piece.front() == pts[i - 1]))
                std::reverse(piece.begin(), piece.end());
            if (!path.empty())
                piece.erase(piece.begin());
            path.insert(path.end(), piece.begin(), piece.end());
        }
        for (std::size_t i = 0; i < path.size(); ++i)
            if (i % 4 < 2)
                plot(path[i].x, path[i].y, ink);
    }

    void polyline(const std::vector<Pixel>& pts, bool closed, Ink ink)
    {
        if (pts.size() == 1)
            plot(pts[0].x, pts[0].y, ink);
        for (std::size_t i = 1; i < pts.size(); ++i)
            segment(pts[i - 1], pts[i], ink);
        if (closed && pts.size() > 2)
            segment(pts.back(), pts.front(), ink);
    }

    // Even-odd fill sampled at pixel centres: never reaches past the
    // outline that segment() draws along the same edges.
    void polygon(const std::vector<Pixel>& pts, Ink ink)
    {
        std::vector<double> crossings;
        for (int y = 0; y < p_.height; ++y) {
            crossings.clear();
            for (std::size_t i = 0; i < pts.size(); ++i) {
                const Pixel a = pts[i];
                const Pixel b = pts[(i + 1) % pts.size()];
                if ((a.y <= y && y < b.y) || (b.y <= y && y < a.y))
                    crossings.push_back(a.x + static_cast<double>(y - a.y) * (b.x - a.x) / (b.y - a.y));
            }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                const int from = static_cast<int>(std::ceil(crossings[i]));
                const int to = static_cast<int>(std::ceil(crossings[i + 1]));
                for (int x = from; x < to; ++x)
                    plot(x, y, ink);
            }
        }
    }

private:
    Picture& p_;
};

} // namespace

Picture render(std::string_view source)
{
    Picture picture;
    std::optional<Canvas> canvas;
    Point origin{0, 0};
    bool mirrored = false;
    double axis = 0;

    for (const Command& c : parseLines(source)) {
        const std::string_view verb = c.words[0];
        const std::size_t args = c.words.size() - 1;
        auto want = [&](std::size_t n) {
            if (args != n)
                throw SourceError(c.line, std::string(verb) + " wants " + std::to_string(n) + " values");
        };
        if (verb == "picture") {
            want(3);
            if (canvas)
                throw SourceError(c.line, "a source holds one picture");
            picture.id = whole(c, c.words[1]);
            picture.width = whole(c, c.words[2]);
            picture.height = whole(c, c.words[3]);
            if (picture.width <= 0 || picture.height <= 0 || picture.width > 4096 || picture.height > 4096)
                throw SourceError(c.line, "picture size out of range");
            picture.pixels.assign(static_cast<std::size_t>(picture.width * picture.height), kGround);
            canvas.emplace(picture);
            continue;
        }
        if (!canvas)
            throw SourceError(c.line, "the source must start with a picture line");
        if (verb == "origin") {
            want(2);
            origin = {number(c, c.words[1]), number(c, c.words[2])};
            continue;
        }
        if (verb == "mirror") {
            want(1);
            mirrored = c.words[1] != "off";
            if (mirrored)
                axis = number(c, c.words[1]);
            continue;
        }
        const bool isPanel = verb == "panel";
        const bool isFill = verb == "fill";
        const bool isLine = verb == "line";
        const bool isLoop = verb == "loop";
        const bool isStitch = verb == "stitch";
        if (!isPanel && !isFill && !isLine && !isLoop && !isStitch)
            throw SourceError(c.line, "unknown command: " + std::string(verb));
        if (args < 2)
            throw SourceError(c.line, std::string(verb) + " wants an ink and points");
        const Ink colour = ink(c, c.words[1]);
        std::vector<Mark> marks;
        for (std::size_t i = 2; i < c.words.size(); ++i)
            marks.push_back(mark(c, c.words[i]));
        if ((isPanel || isFill) && marks.size() < 3)
            throw SourceError(c.line, "a filled shape wants three points or more");

        const int copies = mirrored ? 2 : 1;
        for (int copy = 0; copy < copies; ++copy) {
            std::vector<Mark> placed = marks;
            for (Mark& m : placed) {
                if (copy == 1)
                    m.at.x = 2 * axis - m.at.x;
                m.at.x += origin.x;
                m.at.y += origin.y;
            }
            const bool closed = !isLine && !isStitch;
            const std::vector<Pixel> pts = trace(c, placed, closed);
            if (isPanel || isFill)
                canvas->polygon(pts, colour);
            if (isPanel)
                canvas->polyline(pts, true, kBlack);
            if (isLine || isLoop)
                canvas->polyline(pts, closed, colour);
            if (isStitch)
                canvas->stitches(pts, colour);
        }
    }
    if (!canvas)
        throw SourceError(0, "no picture line");
    return picture;
}

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t>& out, unsigned value)
{
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

// The classic 16-colour palette as red, green, blue.
constexpr std::array<std::array<std::uint8_t, 3>, 16> kPalette{{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

} // namespace

std::vector<std::uint8_t> encodeBmp(const Picture& picture)
{
    const unsigned rowBytes = ((static_cast<unsigned>(picture.width) + 1) / 2 + 3) / 4 * 4;
    const unsigned imageBytes = rowBytes * static_cast<unsigned>(picture.height);
    const unsigned offset = 14 + 40 + 16 * 4;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);

    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageBytes);
    put32(out, 0); // reserved
    put32(out, offset);

    put32(out, 40);
    put32(out, static_cast<unsigned>(picture.width));
    put32(out, static_cast<unsigned>(picture.height)); // positive: bottom row first
    put16(out, 1);                                     // planes
    put16(out, 4);                                     // bits per pixel
    put32(out, 0);                                     // uncompressed
    put32(out, imageBytes);
    put32(out, 0); // no resolution given
    put32(out, 0);
    put32(out, 16); // palette entries
    put32(out, 0);  // all of them matter

    for (const auto& rgb : kPalette) {
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(0);
    }

    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < picture.width; x += 2) {
            const unsigned high = picture.at(x, y);
            const unsigned low = x + 1 < picture.width ? picture.at(x + 1, y) : 0;
            out.push_back(static_cast<std::uint8_t>(high << 4 | low));
        }
        out.resize(start + rowBytes, 0);
    }
    return out;
}

} // namespace suitart
