#include "text/glyph_store.h"

#include "text/private_file.h"

#include <link.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

namespace tickvane::text {

namespace {

constexpr char kMagic[8] = {'T', 'V', 'G', 'L', 'Y', 'P', 'H', '1'};
constexpr uint32_t kMaxEntries = 4096;   // the glyph cache holds 512; more is a damaged file
constexpr int32_t kMaxGlyphSide = 1024;  // 256 px glyphs, with room

std::string file_identity(const char* path)
{
    struct stat st {};
    if (path == nullptr || stat(path, &st) != 0)
        return {};
    return std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
}

// Reads the file's bytes in order, failing for good once anything is missing.
class Reader {
public:
    explicit Reader(std::string bytes) : bytes_(std::move(bytes)) {}
    bool ok() const { return ok_; }
    bool at_end() const { return pos_ == bytes_.size(); }
    template <typename T>
    T number()
    {
        T value{};
        if (!take(&value, sizeof value))
            ok_ = false;
        return value;
    }
    std::string text(uint32_t size)
    {
        std::string s(size <= bytes_.size() - pos_ ? size : 0, '\0');
        if (s.size() != size || !take(s.data(), size))
            ok_ = false;
        return s;
    }
    void bytes(uint8_t* out, size_t size)
    {
        if (!take(out, size))
            ok_ = false;
    }

private:
    bool take(void* out, size_t size)
    {
        if (!ok_ || size > bytes_.size() - pos_)
            return false;
        if (size > 0)  // an empty glyph's coverage has no storage to copy into
            std::memcpy(out, bytes_.data() + pos_, size);
        pos_ += size;
        return true;
    }
    std::string bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

template <typename T>
void put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool read_glyph(Reader& in, StoredGlyph& g)
{
    g.code_point = in.number<char32_t>();
    g.pixel_size = in.number<int32_t>();
    g.glyph.left = in.number<int32_t>();
    g.glyph.top = in.number<int32_t>();
    g.glyph.width = in.number<int32_t>();
    g.glyph.height = in.number<int32_t>();
    g.glyph.advance = in.number<int32_t>();
    if (!in.ok() || g.glyph.width < 0 || g.glyph.height < 0 || g.glyph.width > kMaxGlyphSide ||
        g.glyph.height > kMaxGlyphSide)
        return false;
    g.glyph.coverage.resize(size_t(g.glyph.width) * size_t(g.glyph.height));
    in.bytes(g.glyph.coverage.data(), g.glyph.coverage.size());
    return in.ok();
}

}  // namespace

std::string glyph_stamp(const FontFile& font, int32_t load_flags, const std::string& library)
{
    // The library that rendered, not the one the program was built against: an upgrade of
    // FreeType may draw differently. Its file comes last: a reader finds it there.
    std::string font_id = file_identity(font.path.c_str()), library_id = file_identity(library.c_str());
    if (font_id.empty() || library_id.empty() || library.find('\n') != std::string::npos)
        return {};
    return font.path + "\n" + std::to_string(font.index) + "\n" + font_id + "\n" + std::to_string(load_flags) + "\n" +
           library_id + "\n" + library;
}

std::string loaded_freetype()
{
    std::string found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* out) {
            std::string_view name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("/libfreetype.so") == std::string_view::npos)
                return 0;
            *static_cast<std::string*>(out) = name;
            return 1;
        },
        &found);
    return found;
}

std::optional<GlyphStore> read_glyph_store(const std::string& path, const FontFile& font, int32_t load_flags)
{
    if (path.empty())
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    Reader in(std::string(std::istreambuf_iterator<char>(file), {}));
    if (in.text(sizeof kMagic) != std::string(kMagic, sizeof kMagic))
        return std::nullopt;
    std::string stamp = in.text(in.number<uint32_t>());
    size_t last_line = stamp.rfind('\n');
    if (!in.ok() || last_line == std::string::npos ||
        stamp != glyph_stamp(font, load_flags, stamp.substr(last_line + 1)))
        return std::nullopt;
    GlyphStore store;
    uint32_t metrics = in.number<uint32_t>();
    for (uint32_t i = 0; in.ok() && i < metrics && i < kMaxEntries; ++i) {
        auto& [size, m] = store.metrics.emplace_back();
        size = in.number<int32_t>();
        m.ascent = in.number<int32_t>();
        m.descent = in.number<int32_t>();
        m.gdi_height = in.number<int32_t>();
    }
    uint32_t glyphs = in.ok() && metrics < kMaxEntries ? in.number<uint32_t>() : kMaxEntries;
    if (glyphs >= kMaxEntries)
        return std::nullopt;
    store.glyphs.resize(glyphs);
    for (StoredGlyph& g : store.glyphs) {
        if (!read_glyph(in, g))
            return std::nullopt;
    }
    if (!in.ok() || !in.at_end())
        return std::nullopt;
    return store;
}

void write_glyph_store(const std::string& path, const std::string& stamp, const GlyphStore& store)
{
    if (path.empty() || stamp.empty())
        return;
    std::string out(kMagic, sizeof kMagic);
    put(out, static_cast<uint32_t>(stamp.size()));
    out += stamp;
    put(out, static_cast<uint32_t>(store.metrics.size()));
    for (const auto& [size, m] : store.metrics) {
        for (int32_t v : {size, m.ascent, m.descent, m.gdi_height})
            put(out, v);
    }
    put(out, static_cast<uint32_t>(store.glyphs.size()));
    for (const StoredGlyph& g : store.glyphs) {
        put(out, g.code_point);
        for (int32_t v : {g.pixel_size, g.glyph.left, g.glyph.top, g.glyph.width, g.glyph.height, g.glyph.advance})
            put(out, v);
        out.append(reinterpret_cast<const char*>(g.glyph.coverage.data()), g.glyph.coverage.size());
    }
    replace_private_file(path, out);
}

}  // namespace tickvane::text
