// The border fill against a plain std::fill of the same number of pixels
// (the floor any fill can reach) and, where it is installed, ImageMagick's
// border-mode flood fill on the same picture.
#include "toolkit/floodfill.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#ifdef FILL_BENCH_WITH_MAGICK
#include <Magick++.h>
#endif

namespace {

// About the size of the largest suit drawing.
constexpr int kWidth = 325;
constexpr int kHeight = 316;
constexpr std::int64_t kInside = std::int64_t{kWidth - 2} * (kHeight - 2);

constexpr std::uint32_t kBlack = 0xff000000U;
constexpr std::uint32_t kWhite = 0xffffffffU;
constexpr std::uint32_t kFills[2] = {0xffc08040U, 0xff4080c0U};

// A one-pixel black frame round a white inside.
std::vector<std::uint32_t> framedPicture()
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight, kWhite);
    for (int x = 0; x < kWidth; ++x) {
        pixels[static_cast<std::size_t>(x)] = kBlack;
        pixels[static_cast<std::size_t>((kHeight - 1) * kWidth + x)] = kBlack;
    }
    for (int y = 0; y < kHeight; ++y) {
        pixels[static_cast<std::size_t>(y * kWidth)] = kBlack;
        pixels[static_cast<std::size_t>(y * kWidth + kWidth - 1)] = kBlack;
    }
    return pixels;
}

void reportPerPixel(benchmark::State& state, std::int64_t pixelsPerRun)
{
    state.SetItemsProcessed(state.iterations() * pixelsPerRun);
    // Seconds per pixel; shown with an SI prefix ("n" = nanoseconds).
    state.counters["per_pixel"] =
        benchmark::Counter(static_cast<double>(state.iterations() * pixelsPerRun),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BorderFill(benchmark::State& state)
{
    std::vector<std::uint32_t> pixels = framedPicture();
    int run = 0;
    for (auto _ : state) {
        // Alternating colours, so every run really changes every pixel.
        const std::size_t painted = tk::borderFill({pixels.data(), kWidth, kHeight, kWidth, kWidth / 2,
                                                    kHeight / 2, kFills[run++ & 1], 0, 0x00ffffffU});
        benchmark::DoNotOptimize(painted);
        benchmark::ClobberMemory();
    }
    reportPerPixel(state, kInside);
}
BENCHMARK(BM_BorderFill);

void BM_StdFillSamePixelCount(benchmark::State& state)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kInside), kWhite);
    int run = 0;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), kFills[run++ & 1]);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    reportPerPixel(state, kInside);
}
BENCHMARK(BM_StdFillSamePixelCount);

// Many narrow spans instead of a few wide ones: vertical walls with gaps at
// alternate ends make the fill wind up and down the picture.
void BM_BorderFillWindingSpans(benchmark::State& state)
{
    std::vector<std::uint32_t> pixels = framedPicture();
    std::int64_t inside = kInside;
    for (int x = 4; x < kWidth - 4; x += 4) {
        const bool gapAtTop = (x / 4) % 2 == 0;
        for (int y = 1; y < kHeight - 1; ++y) {
            if ((gapAtTop && y == 1) || (!gapAtTop && y == kHeight - 2))
                continue;
            pixels[static_cast<std::size_t>(y * kWidth + x)] = kBlack;
            --inside;
        }
    }
    int run = 0;
    for (auto _ : state) {
        const std::size_t painted =
            tk::borderFill({pixels.data(), kWidth, kHeight, kWidth, 1, 1, kFills[run++ & 1], 0, 0x00ffffffU});
        benchmark::DoNotOptimize(painted);
        benchmark::ClobberMemory();
    }
    reportPerPixel(state, inside);
}
BENCHMARK(BM_BorderFillWindingSpans);

#ifdef FILL_BENCH_WITH_MAGICK
void BM_MagickBorderFill(benchmark::State& state)
{
    Magick::InitializeMagick(nullptr);
    const std::vector<std::uint32_t> pixels = framedPicture();
    // BGRA in memory is what 0xAARRGGBB words are on a little-endian machine.
    Magick::Image image(kWidth, kHeight, "BGRA", Magick::CharPixel, pixels.data());
    const Magick::Color black("black");
    const Magick::Color fills[2] = {Magick::Color("#4080c0"), Magick::Color("#c08040")};
    int run = 0;
    for (auto _ : state) {
        image.floodFillColor(kWidth / 2, kHeight / 2, fills[run++ & 1], black);
        benchmark::ClobberMemory();
    }
    reportPerPixel(state, kInside);
}
BENCHMARK(BM_MagickBorderFill);
#endif

} // namespace

BENCHMARK_MAIN();
