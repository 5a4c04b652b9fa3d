// One full clock-face paint (both sheet loads included) against a plain copy of the
// 400 x 400 x 4-byte back buffer: the paint should cost at most four such copies.
//
// `paint_bench --paints=N` paints N times untimed and exits, for instruction counts
// under callgrind (see run.sh).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "clock_window.h"

namespace {

constexpr size_t kBackBufferBytes = 400 * 400 * 4;

void BM_PaintClockFace(benchmark::State& state)
{
    HWND hwnd = tickvane::bench::open_clock_window();
    if (hwnd == nullptr) {
        state.SkipWithError("the clock window or its back buffer could not be made");
        return;
    }
    for (auto _ : state)
        tickvane::bench::paint_once(hwnd);
    // A paint that silently drew nothing would look fast.
    if (!tickvane::bench::back_buffer_shows_a_face(hwnd))
        state.SkipWithError("the paint left no face in the back buffer");
}
BENCHMARK(BM_PaintClockFace);

void BM_MemcpyBackBuffer(benchmark::State& state)
{
    std::vector<unsigned char> from(kBackBufferBytes, 0x5A), to(kBackBufferBytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kBackBufferBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBackBufferBytes));
}
BENCHMARK(BM_MemcpyBackBuffer);

// 0 on success; N stays within what a callgrind run can finish.
int paint_untimed(std::string_view count)
{
    int paints = 0;
    auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), paints);
    if (error != std::errc() || end != count.data() + count.size() || paints < 1 || paints > 1000000) {
        std::fprintf(stderr, "paint_bench: --paints wants a whole number from 1 to 1000000\n");
        return 2;
    }
    HWND hwnd = tickvane::bench::open_clock_window();
    if (hwnd == nullptr) {
        std::fprintf(stderr, "paint_bench: the clock window or its back buffer could not be made\n");
        return 1;
    }
    for (int i = 0; i < paints; ++i)
        tickvane::bench::paint_once(hwnd);
    return tickvane::bench::back_buffer_shows_a_face(hwnd) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    constexpr std::string_view kPaints = "--paints=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(kPaints))
        return paint_untimed(std::string_view(argv[1]).substr(kPaints.size()));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
