#include "fill/floodfill.h"
#include "fill/processor.h"

#include <algorithm>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// FILL_NARROW_ONLY builds without the 8-pixel path, so the tests reach the
// 4-pixel one on machines that have AVX2.
#if defined(__SSE2__) && defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) &&                 \
    !defined(FILL_NARROW_ONLY)
#define FILL_WITH_AVX2 1
#include <immintrin.h>
#endif

namespace fill {

bool hasAvx2()
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

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

#if defined(__SSE2__)
// Paints the first n (< 8) pixels from p.
inline void paintFew(std::uint32_t* p, unsigned n, __m128i fill)
{
    if ((n & 4U) != 0) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), fill);
        p += 4;
    }
    if ((n & 2U) != 0) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), fill);
        p += 2;
    }
    if ((n & 1U) != 0)
        *p = static_cast<std::uint32_t>(_mm_cvtsi128_si32(fill));
}
#endif

// Paints from x up to the first boundary pixel in [x, end) and returns that
// pixel's x (or end). Each block is tested and painted in one pass, so a run
// costs one trip through memory, not a scan and then a fill. The wall is a
// copy: pixel stores could otherwise alias it and force a reload each time.
int paintRight(const Wall wall, std::uint32_t* row, int x, int end, std::uint32_t fill)
{
#if defined(__SSE2__)
    const __m128i m = _mm_set1_epi32(static_cast<int>(wall.mask));
    const __m128i v = _mm_set1_epi32(static_cast<int>(wall.value));
    const __m128i f = _mm_set1_epi32(static_cast<int>(fill));
    while (end - x >= kBlock) {
        auto* q = reinterpret_cast<__m128i*>(row + x);
        const __m128i a = _mm_cmpeq_epi32(_mm_and_si128(_mm_loadu_si128(q), m), v);
        const __m128i b = _mm_cmpeq_epi32(_mm_and_si128(_mm_loadu_si128(q + 1), m), v);
        // One bit a pixel, in pixel order.
        const __m128i ab = _mm_packs_epi32(a, b);
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(ab, ab))) & 0xffU;
        if (hits != 0) {
            const auto n = static_cast<unsigned>(std::countr_zero(hits));
            paintFew(row + x, n, f);
            return x + static_cast<int>(n);
        }
        _mm_storeu_si128(q, f);
        _mm_storeu_si128(q + 1, f);
        x += kBlock;
    }
#endif
    while (x < end && !wall.at(row[x]))
        row[x++] = fill;
    return x;
}

#if defined(FILL_WITH_AVX2)
// The same with 8-pixel vectors, where the processor has them.
__attribute__((target("avx2"))) int paintRightAvx2(const Wall wall, std::uint32_t* row, int x, int end,
                                                   std::uint32_t fill)
{
    const __m256i m = _mm256_set1_epi32(static_cast<int>(wall.mask));
    const __m256i v = _mm256_set1_epi32(static_cast<int>(wall.value));
    const __m256i f = _mm256_set1_epi32(static_cast<int>(fill));
    while (end - x >= kBlock) {
        auto* q = reinterpret_cast<__m256i*>(row + x);
        const __m256i a = _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_loadu_si256(q), m), v);
        const auto hits = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(a)));
        if (hits != 0) {
            const auto n = static_cast<unsigned>(std::countr_zero(hits));
            paintFew(row + x, n, _mm256_castsi256_si128(f));
            return x + static_cast<int>(n);
        }
        _mm256_storeu_si256(q, f);
        x += kBlock;
    }
    while (x < end && !wall.at(row[x]))
        row[x++] = fill;
    return x;
}
#endif

// Row y is to be scanned under the painted run [left, right] of row y - dy.
struct Pending {
    int y;
    int left;
    int right;
    int dy;
};

// Scratch memory kept between the fills of one thread: the visited bits, all
// clear between fills, and the stack of pending rows.
struct Scratch {
    std::vector<std::uint64_t> bits;
    std::vector<Pending> pending;
};

// Beyond these sizes (two megapixels of bits; a stack that wound through a
// maze) the scratch is given back after the fill rather than held for good.
constexpr std::size_t kKeptWords = std::size_t{1} << 15;
constexpr std::size_t kKeptPending = std::size_t{1} << 14;

Scratch& threadScratch()
{
    thread_local Scratch scratch;
    return scratch;
}

// One bit a pixel: set once the pixel has been painted. Pixels are painted in
// whole runs (boundary to boundary), so one bit tells whether a run is done.
class VisitedMask {
public:
    VisitedMask(std::vector<std::uint64_t>& bits, int width, int height)
        : m_bits(bits)
        , m_words((static_cast<std::size_t>(width) + 63) / 64)
        , m_height(height)
    {
        const std::size_t needed = m_words * static_cast<std::size_t>(height);
        if (m_bits.size() < needed)
            m_bits.resize(needed, 0);
    }

    // Leaves the scratch clear for the next fill, even when this one was cut
    // short by an exception. Clearing the buffer's bits whole costs little
    // next to the fill, and less than keeping track of the rows marked.
    ~VisitedMask()
    {
        if (m_bits.size() > kKeptWords)
            std::vector<std::uint64_t>().swap(m_bits);
        else
            std::fill_n(m_bits.begin(), m_words * static_cast<std::size_t>(m_height), 0);
    }

    VisitedMask(const VisitedMask&) = delete;
    VisitedMask& operator=(const VisitedMask&) = delete;

    bool test(int x, int y) const { return (m_bits[wordAt(x, y)] >> (x & 63) & 1U) != 0; }

    // Marks [l, r] of row y.
    void set(int l, int r, int y)
    {
        std::uint64_t* row = m_bits.data() + wordAt(0, y);
        const int lw = l >> 6;
        const int rw = r >> 6;
        const std::uint64_t lowMask = ~std::uint64_t{0} << (l & 63);
        const std::uint64_t highMask = ~std::uint64_t{0} >> (63 - (r & 63));
        if (lw == rw) {
            row[lw] |= lowMask & highMask;
            return;
        }
        row[lw] |= lowMask;
        // A run spans a few words. The value comes from a member so that the
        // compiler keeps a plain loop instead of calling memset for them.
        for (int w = lw + 1; w < rw; ++w)
            row[w] = m_ones;
        row[rw] |= highMask;
    }

private:
    std::size_t wordAt(int x, int y) const
    {
        return static_cast<std::size_t>(y) * m_words + static_cast<std::size_t>(x >> 6);
    }

    std::vector<std::uint64_t>& m_bits;
    std::size_t m_words;
    int m_height;
    std::uint64_t m_ones = ~std::uint64_t{0};
};

// Fills the region round (x, y), skipping runs the visited bits already hold.
// Returns the pixels painted.
template <int (*kPaintRight)(Wall, std::uint32_t*, int, int, std::uint32_t)>
std::size_t fillFrom(const FillRequest& request, VisitedMask& visited, std::vector<Pending>& pending, int x,
                     int y, Bounds& found)
{
    // Local copies: pixel stores could alias the request's fields.
    const int width = request.width;
    const int height = request.height;
    const std::ptrdiff_t stride = request.stride;
    std::uint32_t* const pixels = request.pixels;
    const std::uint32_t fill = request.fill;
    const Wall wall{request.mask, request.boundary & request.mask};
    if (x < 0 || x >= width || y < 0 || y >= height)
        return 0;
    std::uint32_t* seedRow = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    if (wall.at(seedRow[x]) || visited.test(x, y))
        return 0;

    std::size_t painted = 0;
    Bounds marked{width, height, -1, -1};
    // Paints the run through x of row y: [x, first boundary) as it is found,
    // then [l, x). `lookLeft` is false where x follows a boundary pixel.
    // Returns the run's last pixel.
    auto paintRun = [&](std::uint32_t* row, int at, int rowY, bool lookLeft, int& l) {
        l = lookLeft ? wall.runStart(row, at) : at;
        const int r = kPaintRight(wall, row, at, width, fill) - 1;
        std::fill(row + l, row + at, fill);
        visited.set(l, r, rowY);
        painted += static_cast<std::size_t>(r - l + 1);
        marked.left = std::min(marked.left, l);
        marked.right = std::max(marked.right, r);
        marked.top = std::min(marked.top, rowY);
        marked.bottom = std::max(marked.bottom, rowY);
        return r;
    };
    int seedLeft = 0;
    const int seedRight = paintRun(seedRow, x, y, true, seedLeft);
    pending.clear();
    pending.push_back({y + 1, seedLeft, seedRight, 1});
    pending.push_back({y - 1, seedLeft, seedRight, -1});

    while (!pending.empty()) {
        const Pending p = pending.back();
        pending.pop_back();
        if (p.y < 0 || p.y >= height)
            continue;
        std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(p.y) * stride;
        int at = p.left;
        while (at <= p.right) {
            while (at <= p.right && wall.at(row[at]))
                ++at;
            if (at > p.right)
                break;
            if (visited.test(at, p.y)) {
                // Its whole run is painted already; step over it.
                at = wall.nextRight(row, at + 1, p.right + 1);
                continue;
            }
            // Only a run that starts at the parent's left end can reach further
            // left; any other starts just after a boundary pixel.
            int l = 0;
            const int r = paintRun(row, at, p.y, at == p.left, l);
            pending.push_back({p.y + p.dy, l, r, p.dy});
            // Parts of this run that stick out past the parent may lead back
            // round into the parent's row.
            if (l < p.left)
                pending.push_back({p.y - p.dy, l, p.left - 1, -p.dy});
            if (r > p.right)
                pending.push_back({p.y - p.dy, p.right + 1, r, -p.dy});
            at = r + 1;
        }
    }
    found.left = std::min(found.left, marked.left);
    found.right = std::max(found.right, marked.right);
    found.top = std::min(found.top, marked.top);
    found.bottom = std::max(found.bottom, marked.bottom);
    return painted;
}

std::size_t fillSeeds(const FillRequest& request, std::span<const Point> seeds, Bounds* bounds,
                      std::span<Bounds> eachSeed)
{
    if (bounds != nullptr)
        *bounds = {};
    for (Bounds& seedBounds : eachSeed)
        seedBounds = {};
    if (request.pixels == nullptr || request.width <= 0 || request.height <= 0 ||
        request.stride < request.width)
        return 0;

    auto* fillOne = &fillFrom<paintRight>;
#if defined(FILL_WITH_AVX2)
    if (hasAvx2())
        fillOne = &fillFrom<paintRightAvx2>;
#endif
    Scratch& scratch = threadScratch();
    std::size_t painted = 0;
    Bounds found{request.width, request.height, -1, -1};
    {
        VisitedMask visited(scratch.bits, request.width, request.height);
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            if (i >= eachSeed.size()) {
                painted += fillOne(request, visited, scratch.pending, seeds[i].x, seeds[i].y, found);
                continue;
            }
            Bounds own{request.width, request.height, -1, -1};
            const std::size_t count = fillOne(request, visited, scratch.pending, seeds[i].x, seeds[i].y, own);
            if (count == 0)
                continue;
            painted += count;
            eachSeed[i] = own;
            found = {std::min(found.left, own.left), std::min(found.top, own.top),
                     std::max(found.right, own.right), std::max(found.bottom, own.bottom)};
        }
    }
    if (bounds != nullptr && painted > 0)
        *bounds = found;
    if (scratch.pending.capacity() > kKeptPending)
        std::vector<Pending>().swap(scratch.pending);
    return painted;
}

} // namespace

std::size_t borderFill(const FillRequest& request)
{
    const Point seed{request.x, request.y};
    return fillSeeds(request, {&seed, 1}, nullptr, {});
}

std::size_t borderFill(const FillRequest& request, std::span<const Point> seeds, Bounds* painted,
                       std::span<Bounds> eachSeed)
{
    return fillSeeds(request, seeds, painted, eachSeed);
}

} // namespace fill
