#include "kept_state.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "compositor/compositor.h"
#include "device_settings.h"
#include "private_folder.h"

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
        if (key == "orientation" && words >> value && (value == "landscape" || value == "portrait"))
            kept.landscape = value == "landscape";
        else if (key == "window" && words >> x >> y)
            kept.window_place = std::make_pair(x, y);
    }
    return kept;
}

void keep_state(const std::string& root, const KeptState& changes)
{
    KeptState kept = read_kept_state(root);
    if (changes.landscape)
        kept.landscape = changes.landscape;
    if (changes.window_place)
        kept.window_place = changes.window_place;
    std::ostringstream text;
    if (kept.landscape)
        text << "orientation " << (*kept.landscape ? "landscape" : "portrait") << "\n";
    if (kept.window_place)
        text << "window " << kept.window_place->first << " " << kept.window_place->second << "\n";
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
    Compositor& c = compositor();
    std::optional<bool> landscape = read_kept_state(device_settings().root).landscape;
    if (landscape && *landscape != (c.width > c.height) && c.width != c.height)
        std::swap(c.width, c.height);
}

void keep_window_place()
{
    Compositor& c = compositor();
    std::optional<std::pair<int, int>> place = c.display ? c.display->place() : std::nullopt;
    if (!place || place == kept_place().written)
        return;
    kept_place().written = place;
    keep_state(device_settings().root, KeptState{std::nullopt, place});
}

void keep_orientation()
{
    Compositor& c = compositor();
    if (c.width != c.height)
        keep_state(device_settings().root, KeptState{c.width > c.height, std::nullopt});
}

}  // namespace tickvane::device
