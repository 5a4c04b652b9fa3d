// Clock-face paints on a 240 x 320 and a 480 x 800 screen, each against a plain copy of
// that screen's back buffer (a square of the larger of 400 and the screen's sides, 4 bytes
// a pixel):
//  - BM_FullPaint: a paint that cannot build on the one before (the first paint, or one
//    after something else drew into the buffer): the goal is at most four such copies;
//  - BM_Repaint: the steady refresh, the same face painted again.
//
// `paint_bench --paints=N [WxH]` paints N full paints untimed and exits, for instruction
// counts under callgrind (see run.sh).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "clock_window.h"

namespace {

size_t back_buffer_bytes(int width, int height)
{
    size_t side = (size_t)std::max({400, width, height});
    return side * side * 4;
}

void paint(benchmark::State& state, bool full)
{
    int width = (int)state.range(0), height = (int)state.range(1);
    HWND hwnd = tickvane::bench::open_clock_window(width, height);
    if (hwnd == nullptr) {
        state.SkipWithError("the clock window or its back buffer could not be made");
        return;
    }
    tickvane::bench::paint_once(hwnd);
    for (auto _ : state) {
        if (full)
            tickvane::bench::unsettle_back_buffer();
        tickvane::bench::paint_once(hwnd);
    }
    // A paint that silently drew nothing would look fast.
    if (!tickvane::bench::back_buffer_shows_a_face(hwnd))
        state.SkipWithError("the paint left no face in the back buffer");
}

void BM_FullPaint(benchmark::State& state) { paint(state, true); }
void BM_Repaint(benchmark::State& state) { paint(state, false); }

void BM_MemcpyBackBuffer(benchmark::State& state)
{
    size_t bytes = back_buffer_bytes((int)state.range(0), (int)state.range(1));
    std::vector<unsigned char> from(bytes, 0x5A), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

#define SCREENS ArgNames({"w", "h"})->Args({240, 320})->Args({480, 800})
BENCHMARK(BM_FullPaint)->SCREENS;
BENCHMARK(BM_Repaint)->SCREENS;
BENCHMARK(BM_MemcpyBackBuffer)->SCREENS;

bool whole_number(std::string_view text, int low, int high, int& out)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= low && out <= high;
}

// 0 on success; N stays within what a callgrind run can finish.
int paint_untimed(std::string_view count, std::string_view screen)
{
    int paints = 0, width = 240, height = 320;
    if (!whole_number(count, 1, 1000000, paints)) {
        std::fprintf(stderr, "paint_bench: --paints wants a whole number from 1 to 1000000\n");
        return 2;
    }
    size_t x = screen.find('x');
    if (!screen.empty() && (x == std::string_view::npos || !whole_number(screen.substr(0, x), 64, 4096, width) ||
                            !whole_number(screen.substr(x + 1), 64, 4096, height))) {
        std::fprintf(stderr, "paint_bench: the screen is WxH, each side from 64 to 4096\n");
        return 2;
    }
    HWND hwnd = tickvane::bench::open_clock_window(width, height);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "paint_bench: the clock window or its back buffer could not be made\n");
        return 1;
    }
    for (int i = 0; i < paints; ++i) {
        tickvane::bench::unsettle_back_buffer();
        tickvane::bench::paint_once(hwnd);
    }
    return tickvane::bench::back_buffer_shows_a_face(hwnd) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    constexpr std::string_view kPaints = "--paints=";
    if ((argc == 2 || argc == 3) && std::string_view(argv[1]).starts_with(kPaints))
        return paint_untimed(std::string_view(argv[1]).substr(kPaints.size()), argc == 3 ? argv[2] : "");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
