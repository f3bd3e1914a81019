#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace fill {

// Border-mode flood fill over a buffer of 32-bit pixels (the semantics of a
// GDI border fill):
//  - connectivity is 4-way: a fill never passes between two pixels that touch
//    only at a corner;
//  - every pixel reachable from the seed without stepping on a pixel whose
//    value equals `boundary` (compared under `mask`) takes the value `fill`;
//  - pixels that already hold `fill` are filled through, not treated as walls,
//    so a region that already contains the fill colour in places is still
//    filled whole;
//  - a seed outside the buffer, or on a boundary pixel, paints nothing, and so
//    does a null buffer, an empty size or a stride shorter than a row;
//  - pixels between the end of a row and the next row (stride > width) are
//    never read or written;
//  - no recursion: filling the whole buffer uses a bounded, heap-allocated stack
//    and one bit of scratch memory a pixel. Both are kept for the next fill on
//    the same thread (up to a few megapixels' worth), so repeated fills of a
//    drawing allocate nothing.
//
// `stride` is the distance between rows in pixels. Returns the number of
// pixels painted (0 when nothing was).
struct FillRequest {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int x = 0;
    int y = 0;
    std::uint32_t fill = 0;
    std::uint32_t boundary = 0;
    std::uint32_t mask = 0xffffffffU;
};

std::size_t borderFill(const FillRequest& request);

struct Point {
    int x = 0;
    int y = 0;
};

// The smallest rectangle holding every painted pixel, edges included; empty
// when nothing was painted.
struct Bounds {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool empty() const { return right < left || bottom < top; }
};

// Fills from each seed in turn with the request's fill, boundary and mask (its
// x and y are not used): the pixels end exactly as after borderFill from each
// seed in order. A seed inside a region this call has painted already is
// skipped, since filling there again would change nothing, and every pixel is
// counted once. `painted`, when given, receives the bounds of what was painted;
// `eachSeed`, when given, the bounds of what each seed painted (empty for a
// seed that painted nothing; seeds beyond its size are not reported).
std::size_t borderFill(const FillRequest& request, std::span<const Point> seeds, Bounds* painted = nullptr,
                       std::span<Bounds> eachSeed = {});

} // namespace fill
