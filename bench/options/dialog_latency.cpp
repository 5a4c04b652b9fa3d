// dialog_latency --pid=N [--runs=N] [--timeout-ms=N] [--pause-ms=N] [--frame=FILE]
//
// Taps the clock's left soft key (options) in its desktop window on $DISPLAY, RUNS times,
// and prints for each the milliseconds from the tap to the first grab of the window that
// shows the options dialog fully painted; Escape closes it before the next round. Also
// prints the clock's resident memory (process N) before the first opening and with the
// dialog open. --frame writes the last round's accepted grab (or, on a timeout, the last
// grab) as a PPM picture, to check by eye what counted. Output, one item a line:
//   memory_closed_kb RSS HWM
//   open_ms MS                 (RUNS times)
//   memory_open_kb RSS HWM
// Exit status: 0 done; 1 no window, a timeout or the clock ended; 2 bad command line;
// 3 no X display.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "dialog_look.h"
#include "proc_memory.h"
#include "window_capture.h"
#include "x_window.h"

using namespace tickvane::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kScreenWidth = 240, kScreenHeight = 320;
constexpr ScreenPoint kOptionsKey{60, 307};  // the middle of the left soft key

struct Options {
    pid_t pid = 0;
    int runs = 20;
    int timeout_ms = 5000;
    int pause_ms = 200;
    const char* frame_file = nullptr;
};

bool read_int(const char* word, const char* name, int* value)
{
    size_t n = std::strlen(name);
    if (std::strncmp(word, name, n) != 0)
        return false;
    const char* end = word + std::strlen(word);
    auto [stop, error] = std::from_chars(word + n, end, *value);
    return error == std::errc() && stop == end && *value > 0;
}

bool parse(int argc, char** argv, Options* o)
{
    int pid = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--frame=", 8) == 0 && argv[i][8] != '\0') {
            o->frame_file = argv[i] + 8;
            continue;
        }
        if (!read_int(argv[i], "--pid=", &pid) && !read_int(argv[i], "--runs=", &o->runs) &&
            !read_int(argv[i], "--timeout-ms=", &o->timeout_ms) && !read_int(argv[i], "--pause-ms=", &o->pause_ms))
            return false;
    }
    o->pid = pid;
    return pid > 0;
}

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// 0xRRGGBB of one field of a pixel, whatever the visual's layout.
uint32_t channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = __builtin_ctzl(mask), bits = __builtin_popcountl(mask);
    auto value = static_cast<uint32_t>((pixel & mask) >> shift);
    return bits >= 8 ? value >> (bits - 8) : value << (8 - bits);
}

uint32_t rgb_at(XImage* image, int x, int y)
{
    unsigned long p = XGetPixel(image, x, y);
    return channel(p, image->red_mask) << 16 | channel(p, image->green_mask) << 8 | channel(p, image->blue_mask);
}

bool write_ppm(XImage* image, const char* path)
{
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", image->width, image->height);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            uint32_t rgb = rgb_at(image, x, y);
            unsigned char bytes[3] = {static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                                      static_cast<unsigned char>(rgb)};
            std::fwrite(bytes, 1, 3, f);
        }
    return std::fclose(f) == 0;
}

struct ClockWindow {
    Display* display;
    Window window;
    XWindowAttributes at;
    int scale;
    WindowCapture capture;
    XImage* last = nullptr;  // the latest grab, valid until the next
};

// One grab of the window, read in screen pixels; false when the grab failed.
template <typename Judge>
bool judge_grab(ClockWindow& w, Judge judge, bool* verdict)
{
    XImage* image = w.last = w.capture.grab(w.window, w.at);
    if (image == nullptr)
        return false;
    ScreenPixels screen = [&](int x, int y) -> uint32_t {
        if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight)
            return 0;
        return rgb_at(image, x * w.scale, y * w.scale);
    };
    *verdict = judge(screen, kOptionsDialog);
    return true;
}

// Milliseconds from `start` to the first grab that `judge` accepts; negative on a timeout
// or when the clock has ended.
template <typename Judge>
double wait_until(ClockWindow& w, const Options& o, Judge judge, Clock::time_point start)
{
    while (ms_since(start) < o.timeout_ms) {
        bool seen = false;
        if (judge_grab(w, judge, &seen) && seen)
            return ms_since(start);
        if (kill(o.pid, 0) != 0)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

bool print_memory(const char* label, pid_t pid)
{
    std::optional<MemoryKb> m = read_proc_memory(pid);
    if (!m) {
        std::fprintf(stderr, "dialog_latency: cannot read the memory of process %d\n", static_cast<int>(pid));
        return false;
    }
    std::printf("%s %ld %ld\n", label, m->rss_kb, m->hwm_kb);
    return true;
}

int run_rounds(ClockWindow& w, const Options& o)
{
    if (!print_memory("memory_closed_kb", o.pid))
        return 1;
    for (int round = 1; round <= o.runs; ++round) {
        Clock::time_point t0 = Clock::now();
        send_tap(w.display, w.window, kOptionsKey.x * w.scale + w.scale / 2, kOptionsKey.y * w.scale + w.scale / 2);
        double ms = wait_until(w, o, dialog_painted, t0);
        if (ms < 0) {
            std::fprintf(stderr, "dialog_latency: round %d: no painted dialog within %d ms, or the clock ended\n",
                         round, o.timeout_ms);
            if (o.frame_file != nullptr && w.last != nullptr)
                write_ppm(w.last, o.frame_file);  // what was on the screen instead
            return 1;
        }
        std::printf("open_ms %.2f\n", ms);
        std::fflush(stdout);
        if (round == o.runs && o.frame_file != nullptr && !write_ppm(w.last, o.frame_file))
            std::fprintf(stderr, "dialog_latency: cannot write %s\n", o.frame_file);
        if (round == o.runs && !print_memory("memory_open_kb", o.pid))
            return 1;
        send_key(w.display, w.window, XK_Escape);
        if (wait_until(w, o, dialog_gone, Clock::now()) < 0) {
            std::fprintf(stderr, "dialog_latency: round %d: Escape did not close the dialog\n", round);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(o.pause_ms));
    }
    return 0;
}

int ignore_x_error(Display*, XErrorEvent*)
{
    g_x_error = true;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, &o)) {
        std::fprintf(stderr,
                     "usage: dialog_latency --pid=N [--runs=N] [--timeout-ms=N] [--pause-ms=N] [--frame=FILE]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "dialog_latency: cannot open the X display\n");
        return 3;
    }
    XSetErrorHandler(ignore_x_error);
    Window window = find_window(display, "Tickvane");
    XWindowAttributes at{};
    if (window == 0 || XGetWindowAttributes(display, window, &at) == 0) {
        std::fprintf(stderr, "dialog_latency: no mapped window 'Tickvane'\n");
        return 1;
    }
    int scale = at.width / kScreenWidth;
    if (scale < 1 || at.width != kScreenWidth * scale || at.height != kScreenHeight * scale) {
        std::fprintf(stderr, "dialog_latency: window %dx%d is not a 240x320 screen zoomed\n", at.width, at.height);
        return 1;
    }
    int result;
    {
        ClockWindow w{display, window, at, scale, WindowCapture(display)};
        bool closed = false;
        if (!judge_grab(w, dialog_gone, &closed) || !closed) {
            std::fprintf(stderr, "dialog_latency: the dialog is already open, or the window cannot be read\n");
            result = 1;
        } else {
            result = run_rounds(w, o);
        }
    }
    XCloseDisplay(display);
    return result;
}
