#include "kept/kept_state.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "parts/part.h"
#include "screen/screen.h"
#include "settings/device_settings.h"
#include "settings/private_folder.h"

namespace fs = std::filesystem;

namespace tickvane::device {

std::string kept_state_path(const std::string& root) { return root + "/.device/state"; }

KeptState read_kept_state(const std::string& root)
{
    KeptState kept;
    std::ifstream in(kept_state_path(root));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string key, value;
        int x = 0, y = 0;
        if (!(words >> key))
            continue;
        if (key == "orientation" && words >> value && (value == "landscape" || value == "portrait")) {
            kept.landscape = value == "landscape";
            char by = 0;
            if (words >> x >> by >> y && by == 'x' && x > 0 && y > 0)
                kept.turned_screen = {x, y};
        } else if (key == "window" && words >> x >> y) {
            kept.window_place = display::WindowPlace{x, y};
        } else if (key == "frame" && kept.window_place) {
            display::WindowPlace& p = *kept.window_place;
            int left = 0, top = 0, right = 0, bottom = 0;
            // Sizes beyond any window manager's decoration are damage, not a frame.
            if (words >> left >> top >> right >> bottom && std::min({left, top, right, bottom}) >= 0 &&
                std::max({left, top, right, bottom}) <= 1000) {
                p.left = left, p.top = top, p.right = right, p.bottom = bottom;
            }
        }
    }
    return kept;
}

void keep_state(const std::string& root, const KeptState& changes)
{
    KeptState kept = read_kept_state(root);
    if (changes.landscape) {
        kept.landscape = changes.landscape;
        kept.turned_screen = changes.turned_screen;
    }
    if (changes.window_place)
        kept.window_place = changes.window_place;
    std::ostringstream text;
    if (kept.landscape) {
        text << "orientation " << (*kept.landscape ? "landscape" : "portrait") << " " << kept.turned_screen.first << "x"
             << kept.turned_screen.second << "\n";
    }
    if (const auto& p = kept.window_place) {
        text << "window " << p->x << " " << p->y << "\n";
        text << "frame " << p->left << " " << p->top << " " << p->right << " " << p->bottom << "\n";
    }
    std::error_code ec;
    if (!prepare_device_folder(root, false).empty())  // made at start, in a device tree only
        return;
    std::string temporary = kept_state_path(root) + "." + std::to_string(getpid());
    fs::remove(temporary, ec);
    int fd = open_private_file(temporary, O_WRONLY | O_CREAT | O_EXCL);
    std::string bytes = text.str();
    bool written = fd >= 0 && write(fd, bytes.data(), bytes.size()) == (ssize_t)bytes.size();
    if (fd >= 0)
        close(fd);
    if (!written) {
        fs::remove(temporary, ec);
        return;
    }
    fs::rename(temporary, kept_state_path(root), ec);
    if (ec)
        fs::remove(temporary, ec);
}

void apply_kept_orientation()
{
    Screen& c = screen();
    const Settings& set_up = device_settings();
    KeptState kept = read_kept_state(set_up.root);
    if (kept.turned_screen != std::make_pair(set_up.screen_width, set_up.screen_height))
        return;  // kept for another screen: the size asked for wins
    if (kept.landscape && *kept.landscape != (c.width > c.height) && c.width != c.height)
        std::swap(c.width, c.height);
}

void keep_orientation()
{
    const Screen& c = screen();
    const Settings& set_up = device_settings();
    if (c.width != c.height) {
        keep_state(set_up.root,
                   KeptState{c.width > c.height, {set_up.screen_width, set_up.screen_height}, std::nullopt});
    }
}

namespace {

constinit parts::PartOf<KeptPlace> g_kept_place;

}  // namespace

KeptPlace& kept_place() { return g_kept_place.get(); }

}  // namespace tickvane::device
