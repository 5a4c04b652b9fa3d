#include "device_face.h"

#include <map>
#include <thread>

#include "bounded_process.h"
#include "installed_tree.h"
#include "png_file.h"
#include "window_face.h"

namespace tickvane::wine {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test::Image;

e2e::InstalledTree* installed_device(std::string* why)
{
    static e2e::InstalledTree tree;
    static std::string failure;
    static bool installed = tree.install(TICKVANE_CMAKE, TICKVANE_BUILD_DIR, &failure);
    *why = failure;
    return installed ? &tree : nullptr;
}

Image client_of(const Image& screen)
{
    Image client{screen.width, screen.height - e2e::kTitleBarHeight - e2e::kSoftKeyBarHeight, {}};
    auto first = screen.pixels.begin() + static_cast<ptrdiff_t>(e2e::kTitleBarHeight) * screen.width;
    client.pixels.assign(first, first + static_cast<ptrdiff_t>(client.width) * client.height);
    return client;
}

bool painted(const Image& client)
{
    for (int x = 0; x < 75; ++x)
        for (int y = 0; y < 30; ++y)
            if (client.at(x, y) != 0xFFFFFF)
                return true;  // the year is there
    return false;
}

// The screenshot once the face is painted and a later one shows the same.
Image settled_screen(const std::string& png, int width, int height, milliseconds limit)
{
    Image last;
    for (auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(milliseconds(300))) {
        Image now = read_png(png);
        bool whole = now.width == width && now.height == height && painted(client_of(now));
        if (whole && now.pixels == last.pixels)
            return now;
        last = whole ? now : Image{};
    }
    return {};
}

Image run_device(int width, int height, const std::string& pinned, std::string* why)
{
    e2e::InstalledTree* tree = installed_device(why);
    if (tree == nullptr)
        return {};
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::string png = tree->root() + "/face-" + size + ".png";
    e2e::Child clock({tree->clock_exe()},
                     e2e::environment_with({"TICKVANE_DEVICE_ROOT=" + tree->root(), "TICKVANE_DISPLAY=headless",
                                            "TICKVANE_SCREEN=" + size, "TICKVANE_SCREENSHOT=" + png, "TZ=UTC",
                                            "LD_PRELOAD=" TICKVANE_LIBFAKETIME, "FAKETIME=" + pinned,
                                            "FAKETIME_DONT_FAKE_MONOTONIC=1", "DISPLAY", "TICKVANE_SCALE"}));
    Image screen = settled_screen(png, width, height, milliseconds(10000));
    if (screen.pixels.empty()) {
        *why = "the device clock showed no settled " + size + " face in " + png + ":\n" + clock.output();
        return {};
    }
    return client_of(screen);
}

}  // namespace

Image device_face(int width, int height, const std::string& pinned, std::string* why)
{
    static std::map<std::string, Image> drawn;  // one device run per screen and time
    std::string key = std::to_string(width) + "x" + std::to_string(height) + " " + pinned;
    if (!drawn.contains(key)) {
        Image face = run_device(width, height, pinned, why);
        if (face.pixels.empty())
            return face;
        drawn[key] = face;
    }
    return drawn[key];
}

}  // namespace tickvane::wine
