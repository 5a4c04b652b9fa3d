// Writes the README's pictures of the clock from the headless device, at the handheld
// desktop window's default zoom of 2, for one pinned second: the face upright and on its
// side, the options dialog and the exit box. tickvane-screenshots OUTDIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "display/png_writer.h"
#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;
namespace fs = std::filesystem;

namespace {

constexpr int kZoom = 2;
constexpr SYSTEMTIME kPinned{2024, 6, 6, 1, 10, 8, 42, 0};  // Saturday 1 June 2024, 10:08:42

std::string g_out;
bool g_failed = false;

void shoot(const std::string& name)
{
    int w = dt::screen_width(), h = dt::screen_height();
    std::vector<uint32_t> zoomed((size_t)(w * kZoom) * (size_t)(h * kZoom));
    for (int y = 0; y < h * kZoom; ++y)
        for (int x = 0; x < w * kZoom; ++x)
            zoomed[(size_t)y * (size_t)(w * kZoom) + (size_t)x] = dt::screen_pixel(x / kZoom, y / kZoom);
    tickvane::display::Pixels pixels{zoomed.data(), w * kZoom, h * kZoom, w * kZoom};
    std::string why, path = g_out + "/" + name + ".png";
    if (!tickvane::display::write_png_atomically(pixels, path, &why)) {
        std::fprintf(stderr, "tickvane-screenshots: %s: %s\n", path.c_str(), why.c_str());
        g_failed = true;
    }
}

void soft_key(int index)
{
    RECT r = dt::soft_key_rect(index);
    dt::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void end_clock()
{
    if (HWND clock = FindWindowW(nullptr, u"Tickvane"))
        SendMessageW(clock, WM_DESTROY, 0, 0);
}

// One step at each point where the clock's loops (the dialog's and the box's too) go idle.
const std::vector<std::function<void()>> kSteps = {
    [] { shoot("face-portrait"); },
    [] { dt::rotate(); },
    [] {},  // the face follows at the next refresh
    [] { shoot("face-landscape"); },
    [] { dt::rotate(); },
    [] { soft_key(0); },
    [] { shoot("options"); },
    [] { dt::press_key(VK_ESCAPE); },
    [] { soft_key(1); },
    [] { shoot("exit-box"); },
    [] { dt::press_key(VK_ESCAPE); },  // Cancel: the clock stays, and is ended as its dismissal would
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return std::fputs("usage: tickvane-screenshots OUTDIR\n", stderr), 2;
    g_out = argv[1];
    std::error_code ec;
    fs::create_directories(g_out, ec);
    dt::Options options;
    options.local_time = kPinned;
    dt::reset(options);
    // A stored interval of 1 min 30 s, so that the dialog shows a choice.
    fs::create_directories(dt::root() + "/Program Files/Tickvane", ec);
    std::ofstream(dt::root() + "/Program Files/Tickvane/TimeConfig.dat", std::ios::binary) << "1 2";
    size_t idle = 0;
    dt::on_idle([&] {
        if (idle < kSteps.size())
            kSteps[idle++]();
        else
            end_clock();
    });
    WinMain(dt::instance(), nullptr, nullptr, SW_SHOWNORMAL);
    fs::remove_all(dt::root(), ec);
    if (idle < kSteps.size()) {
        std::fprintf(stderr, "tickvane-screenshots: the clock ended after %zu of %zu steps\n", idle, kSteps.size());
        return 1;
    }
    return g_failed ? 1 : 0;
}
