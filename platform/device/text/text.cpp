#include "text/text.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "text/font_face.h"
#include "text/font_locator.h"
#include "text/font_memory.h"
#include "text/glyph_cache.h"
#include "text/glyph_store.h"
#include "text/text_run.h"

namespace tickvane::text {

namespace {

// The process's one font, found on first use: start-up pays for fontconfig only
// when something actually draws text, and for FreeType only when a glyph or a size
// is not in the glyph store that the last start left.
struct Engine {
    std::string family;
    FontFile file;
    bool have_file = false;
    std::unique_ptr<FontFace> face;
    bool face_tried = false;
    std::unique_ptr<GlyphCache> glyphs;
    std::unordered_map<int, LineMetrics> metrics;  // by pixel size, as measured or stored
    bool metrics_added = false;
    bool kept = false;
    std::mutex lock;

    FontFace* open_face()
    {
        if (!face_tried && have_file) {
            face_tried = true;
            face = FontFace::open(file);
        }
        return face.get();
    }

    const LineMetrics* metrics_for(int pixel_size)
    {
        if (auto found = metrics.find(pixel_size); found != metrics.end())
            return &found->second;
        FontFace* f = open_face();
        if (f == nullptr || pixel_size < kMinPixelSize || pixel_size > kMaxPixelSize || !f->use_pixel_size(pixel_size))
            return nullptr;
        metrics_added = true;
        return &metrics.emplace(pixel_size, f->line_metrics()).first->second;
    }
};

std::atomic<Engine*> g_engine{nullptr};

std::string& memory_file()
{
    static std::string* path = new std::string;
    return *path;
}

std::string store_file() { return memory_file().empty() ? std::string() : memory_file() + "-glyphs"; }

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

// The remembered font's glyphs from the store, without opening the font: true if found.
bool take_stored(Engine& e)
{
    auto recalled = recall_font(memory_file());
    if (!recalled)
        return false;
    auto store = read_glyph_store(store_file(), *recalled, e.glyphs->load_flags());
    if (!store)
        return false;
    e.file = *recalled;
    e.have_file = true;
    e.family = recalled->family;
    for (const auto& [size, m] : store->metrics)
        e.metrics.emplace(size, m);
    for (StoredGlyph& g : store->glyphs)
        e.glyphs->insert(g.code_point, g.pixel_size, std::move(g.glyph));
    return true;
}

Engine& engine()
{
    static Engine* const instance = [] {
        auto* e = new Engine();  // never destroyed: drawing may outlive static teardown
        e->glyphs = std::make_unique<GlyphCache>([e] { return e->open_face(); }, kDeviceHinting);
        if (!take_stored(*e)) {
            e->face = open_font(e->file);
            e->face_tried = true;
            e->have_file = e->face != nullptr;
            if (e->have_file)
                e->family = e->file.family;
        }
        g_engine.store(e);
        return e;
    }();
    return *instance;
}

}  // namespace

Extent measure(std::u16string_view text, int pixel_size)
{
    Engine& e = engine();
    if (!e.have_file)
        return {};
    std::lock_guard guard(e.lock);
    const LineMetrics* line = e.metrics_for(pixel_size);
    if (line == nullptr)
        return {};
    return measure_run(*line, *e.glyphs, text, pixel_size);
}

int draw(const Target& target, const PixelRect& clip, int x, int baseline_y, std::u16string_view text, int pixel_size,
         uint32_t colour)
{
    Engine& e = engine();
    if (!e.have_file)
        return 0;
    std::lock_guard guard(e.lock);
    return draw_run(*e.glyphs, target, clip, x, baseline_y, text, pixel_size, colour);
}

const char* family() { return engine().family.c_str(); }

void remember_font_in(const std::string& path) { memory_file() = path; }

void keep_glyphs()
{
    Engine* e = g_engine.load();
    if (e == nullptr)
        return;  // nothing drawn yet: nothing to keep, and no font to open for it
    std::lock_guard guard(e->lock);
    if (e->kept || (e->glyphs->rendered() == 0 && !e->metrics_added))
        return;
    e->kept = true;
    if (e->family != "VL Gothic")
        return;  // only the remembered font's glyphs come back: see font_memory
    GlyphStore store;
    store.metrics.assign(e->metrics.begin(), e->metrics.end());
    e->glyphs->for_each([&](char32_t code_point, int pixel_size, const Glyph& glyph) {
        store.glyphs.push_back(StoredGlyph{code_point, pixel_size, glyph});
    });
    write_glyph_store(store_file(), glyph_stamp(e->file, e->glyphs->load_flags(), loaded_freetype()), store);
}

}  // namespace tickvane::text
