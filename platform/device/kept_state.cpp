#include "kept_state.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "state.h"

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
    fs::create_directories(fs::path(kept_state_path(root)).parent_path(), ec);
    std::string temporary = kept_state_path(root) + "." + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text.str();
        if (!out.flush()) {
            fs::remove(temporary, ec);
            return;
        }
    }
    fs::rename(temporary, kept_state_path(root), ec);
    if (ec)
        fs::remove(temporary, ec);
}

void apply_kept_orientation()
{
    State& s = state();
    std::optional<bool> landscape = read_kept_state(s.settings.root).landscape;
    if (landscape && *landscape != (s.screen_width > s.screen_height) && s.screen_width != s.screen_height)
        std::swap(s.screen_width, s.screen_height);
}

void keep_window_place()
{
    static std::optional<std::pair<int, int>> kept;
    State& s = state();
    std::optional<std::pair<int, int>> place = s.display ? s.display->place() : std::nullopt;
    if (!place || place == kept)
        return;
    kept = place;
    keep_state(s.settings.root, KeptState{std::nullopt, place});
}

void keep_orientation()
{
    State& s = state();
    if (s.screen_width != s.screen_height)
        keep_state(s.settings.root, KeptState{s.screen_width > s.screen_height, std::nullopt});
}

}  // namespace tickvane::device
