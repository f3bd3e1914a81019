#include "fill/floodfill.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fill {
namespace {

// Pixels are tested in blocks without a branch per pixel; only a block that
// holds a boundary pixel is walked one pixel at a time.
constexpr int kBlock = 8;

struct Wall {
    std::uint32_t mask;
    std::uint32_t value;

    bool at(std::uint32_t pixel) const { return (pixel & mask) == value; }

    // Whether any of the kBlock pixels from p on is a boundary pixel.
    bool inBlock(const std::uint32_t* p) const
    {
#if defined(__SSE2__)
        const __m128i m = _mm_set1_epi32(static_cast<int>(mask));
        const __m128i v = _mm_set1_epi32(static_cast<int>(value));
        const auto* q = reinterpret_cast<const __m128i*>(p);
        const __m128i a = _mm_cmpeq_epi32(_mm_and_si128(_mm_loadu_si128(q), m), v);
        const __m128i b = _mm_cmpeq_epi32(_mm_and_si128(_mm_loadu_si128(q + 1), m), v);
        return _mm_movemask_epi8(_mm_or_si128(a, b)) != 0;
#else
        unsigned hit = 0;
        for (int i = 0; i < kBlock; ++i)
            hit |= static_cast<unsigned>(at(p[i]));
        return hit != 0;
#endif
    }

    // First boundary pixel in [x, end), or end.
    int nextRight(const std::uint32_t* row, int x, int end) const
    {
        while (end - x >= kBlock && !inBlock(row + x))
            x += kBlock;
        while (x < end && !at(row[x]))
            ++x;
        return x;
    }

    // Leftmost x' <= x such that no pixel in [x', x] is a boundary pixel.
    int runStart(const std::uint32_t* row, int x) const
    {
        while (x >= kBlock && !inBlock(row + x - kBlock))
            x -= kBlock;
        while (x > 0 && !at(row[x - 1]))
            --x;
        return x;
    }
};

// One bit a pixel: set once the pixel has been painted. Pixels are painted in
// whole runs (boundary to boundary), so one bit tells whether a run is done.
class VisitedMask {
public:
    VisitedMask(int width, int height)
        : m_words((static_cast<std::size_t>(width) + 63) / 64)
        , m_bits(m_words * static_cast<std::size_t>(height), 0)
    {
    }

    bool test(int x, int y) const { return (word(x, y) >> (x & 63) & 1U) != 0; }

    // Marks [l, r] of row y.
    void set(int l, int r, int y)
    {
        std::uint64_t* row = &m_bits[static_cast<std::size_t>(y) * m_words];
        const int lw = l >> 6;
        const int rw = r >> 6;
        const std::uint64_t lowMask = ~std::uint64_t{0} << (l & 63);
        const std::uint64_t highMask = ~std::uint64_t{0} >> (63 - (r & 63));
        if (lw == rw) {
            row[lw] |= lowMask & highMask;
            return;
        }
        row[lw] |= lowMask;
        std::fill(row + lw + 1, row + rw, ~std::uint64_t{0});
        row[rw] |= highMask;
    }

private:
    std::uint64_t word(int x, int y) const
    {
        return m_bits[static_cast<std::size_t>(y) * m_words + static_cast<std::size_t>(x >> 6)];
    }

    std::size_t m_words;
    std::vector<std::uint64_t> m_bits;
};

// Row y is to be scanned under the painted run [left, right] of row y - dy.
struct Pending {
    int y;
    int left;
    int right;
    int dy;
};

} // namespace

std::size_t borderFill(const FillRequest& request)
{
    const int width = request.width;
    const int height = request.height;
    if (request.pixels == nullptr || width <= 0 || height <= 0 || request.stride < width)
        return 0;
    if (request.x < 0 || request.x >= width || request.y < 0 || request.y >= height)
        return 0;

    const Wall wall{request.mask, request.boundary & request.mask};
    const std::uint32_t fill = request.fill;
    auto rowAt = [&](int y) { return request.pixels + static_cast<std::ptrdiff_t>(y) * request.stride; };

    std::uint32_t* seedRow = rowAt(request.y);
    if (wall.at(seedRow[request.x]))
        return 0;

    VisitedMask visited(width, height);
    std::vector<Pending> pending;
    std::size_t painted = 0;

    auto paint = [&](std::uint32_t* row, int l, int r, int y) {
        std::fill(row + l, row + r + 1, fill);
        visited.set(l, r, y);
        painted += static_cast<std::size_t>(r - l + 1);
    };

    const int seedLeft = wall.runStart(seedRow, request.x);
    const int seedRight = wall.nextRight(seedRow, request.x + 1, width) - 1;
    paint(seedRow, seedLeft, seedRight, request.y);
    pending.push_back({request.y + 1, seedLeft, seedRight, 1});
    pending.push_back({request.y - 1, seedLeft, seedRight, -1});

    while (!pending.empty()) {
        const Pending p = pending.back();
        pending.pop_back();
        if (p.y < 0 || p.y >= height)
            continue;
        std::uint32_t* row = rowAt(p.y);
        int x = p.left;
        while (x <= p.right) {
            while (x <= p.right && wall.at(row[x]))
                ++x;
            if (x > p.right)
                break;
            if (visited.test(x, p.y)) {
                // Its whole run is painted already; step over it.
                x = wall.nextRight(row, x + 1, p.right + 1);
                continue;
            }
            // Only a run that starts at the parent's left end can reach further
            // left; any other starts just after a boundary pixel.
            const int l = x == p.left ? wall.runStart(row, x) : x;
            const int r = wall.nextRight(row, x + 1, width) - 1;
            paint(row, l, r, p.y);
            pending.push_back({p.y + p.dy, l, r, p.dy});
            // Parts of this run that stick out past the parent may lead back
            // round into the parent's row.
            if (l < p.left)
                pending.push_back({p.y - p.dy, l, p.left - 1, -p.dy});
            if (r > p.right)
                pending.push_back({p.y - p.dy, p.right + 1, r, -p.dy});
            x = r + 1;
        }
    }
    return painted;
}

} // namespace fill
