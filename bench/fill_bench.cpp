// The border fill against a plain std::fill of the same number of pixels
// (the floor any fill can reach) and, where it is installed, ImageMagick's
// border-mode flood fill on the same picture.
#include "fill/floodfill.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#ifdef FILL_BENCH_WITH_MAGICK
#include <Magick++.h>

namespace mc = MagickCore;
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
        const std::size_t painted = fill::borderFill({pixels.data(), kWidth, kHeight, kWidth, kWidth / 2,
                                                      kHeight / 2, kFills[run++ & 1], 0, 0x00ffffffU});
        benchmark::DoNotOptimize(painted);
        benchmark::ClobberMemory();
        if (static_cast<std::int64_t>(painted) != kInside) {
            state.SkipWithError("the border fill did not paint the framed region");
            break;
        }
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
        const std::size_t painted = fill::borderFill(
            {pixels.data(), kWidth, kHeight, kWidth, 1, 1, kFills[run++ & 1], 0, 0x00ffffffU});
        benchmark::DoNotOptimize(painted);
        benchmark::ClobberMemory();
        if (static_cast<std::int64_t>(painted) != inside) {
            state.SkipWithError("the border fill did not paint the winding region");
            break;
        }
    }
    reportPerPixel(state, inside);
}
BENCHMARK(BM_BorderFillWindingSpans);

#ifdef FILL_BENCH_WITH_MAGICK
// ImageMagick's border fill is MagickCore's FloodfillPaintImage with the
// border colour as the target and `invert` set: it paints every pixel
// connected to the start that is not the border. (Magick++'s
// floodFillColor(x, y, fill, border) paints nothing in ImageMagick 6.9.11,
// so timing it timed no fill at all.)
//
// How many pixels of the image hold `fill`; the count runs with the clock stopped.
std::int64_t countColour(const Magick::Image& image, const mc::PixelPacket& fill)
{
    const mc::PixelPacket* p = image.getConstPixels(0, 0, kWidth, kHeight);
    std::int64_t count = 0;
    for (std::int64_t i = 0; i < std::int64_t{kWidth} * kHeight; ++i)
        count += p[i].red == fill.red && p[i].green == fill.green && p[i].blue == fill.blue ? 1 : 0;
    return count;
}

void BM_MagickBorderFill(benchmark::State& state)
{
    Magick::InitializeMagick(nullptr);
    const std::vector<std::uint32_t> pixels = framedPicture();
    // BGRA in memory is what 0xAARRGGBB words are on a little-endian machine.
    Magick::Image image(kWidth, kHeight, "BGRA", Magick::CharPixel, pixels.data());
    image.modifyImage();
    MagickCore::Image* core = image.image();

    mc::ExceptionInfo* exception = mc::AcquireExceptionInfo();
    mc::MagickPixelPacket border;
    mc::GetMagickPixelPacket(core, &border);
    mc::QueryMagickColor("black", &border, exception);
    mc::DrawInfo* draws[2] = {mc::AcquireDrawInfo(), mc::AcquireDrawInfo()};
    mc::QueryColorDatabase("#4080c0", &draws[0]->fill, exception);
    mc::QueryColorDatabase("#c08040", &draws[1]->fill, exception);

    int run = 0;
    for (auto _ : state) {
        const mc::DrawInfo* draw = draws[run++ & 1];
        const mc::MagickBooleanType ok = mc::FloodfillPaintImage(core, mc::DefaultChannels, draw, &border,
                                                                 kWidth / 2, kHeight / 2, mc::MagickTrue);
        benchmark::ClobberMemory();
        state.PauseTiming();
        const std::int64_t painted = countColour(image, draw->fill);
        if (ok != mc::MagickTrue || painted != kInside) {
            state.ResumeTiming();
            state.SkipWithError("ImageMagick did not paint the framed region");
            break;
        }
        state.ResumeTiming();
    }
    mc::DestroyDrawInfo(draws[0]);
    mc::DestroyDrawInfo(draws[1]);
    mc::DestroyExceptionInfo(exception);
    reportPerPixel(state, kInside);
}
BENCHMARK(BM_MagickBorderFill);
#endif

} // namespace

BENCHMARK_MAIN();
