#include "text/text.h"

#include <memory>
#include <mutex>
#include <string>

#include "text/font_face.h"
#include "text/font_locator.h"
#include "text/font_memory.h"
#include "text/glyph_cache.h"
#include "text/text_run.h"

namespace tickvane::text {

namespace {

// The process's one font, found on first use: start-up pays for fontconfig only
// when something actually draws text.
struct Engine {
    std::string family;
    std::unique_ptr<FontFace> face;
    std::unique_ptr<GlyphCache> glyphs;
    std::mutex lock;
};

std::string& memory_file()
{
    static std::string* path = new std::string;
    return *path;
}

// The remembered font when it still opens, else fontconfig's answer (then remembered).
std::unique_ptr<FontFace> open_font(FontFile& file)
{
    if (auto recalled = recall_font(memory_file())) {
        if (auto face = FontFace::open(*recalled)) {
            file = *recalled;
            return face;
        }
    }
    auto located = locate_font(japanese_ui_font_requests());
    if (!located)
        return nullptr;
    auto face = FontFace::open(*located);
    if (face)
        remember_font(memory_file(), *located);
    file = *located;
    return face;
}

Engine& engine()
{
    static Engine* const instance = [] {
        auto* created = new Engine();  // never destroyed: drawing may outlive static teardown
        FontFile file;
        created->face = open_font(file);
        if (created->face) {
            created->family = file.family;
            created->glyphs = std::make_unique<GlyphCache>(*created->face, kDeviceHinting);
        }
        return created;
    }();
    return *instance;
}

}  // namespace

Extent measure(std::u16string_view text, int pixel_size)
{
    Engine& e = engine();
    if (!e.face)
        return {};
    std::lock_guard guard(e.lock);
    return measure_run(*e.face, *e.glyphs, text, pixel_size);
}

int draw(const Target& target, const Clip& clip, int x, int baseline_y, std::u16string_view text, int pixel_size,
         uint32_t colour)
{
    Engine& e = engine();
    if (!e.face)
        return 0;
    std::lock_guard guard(e.lock);
    return draw_run(*e.glyphs, target, clip, x, baseline_y, text, pixel_size, colour);
}

const char* family() { return engine().family.c_str(); }

void remember_font_in(const std::string& path) { memory_file() = path; }

}  // namespace tickvane::text
