// The glyph store: what is written reads back whole for the same font, hinting and FreeType;
// anything else (another of them, a changed file, a damaged store) reads as no store at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "text/glyph_cache.h"
#include "text/glyph_store.h"

using namespace tickvane::text;

namespace {

class GlyphStoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tickvane-glyphs-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        folder = dir;
        path = folder + "/font-glyphs";
        font = folder + "/face.ttf";
        std::ofstream(font) << "not really a font";
        library = folder + "/libfreetype.so.6";
        std::ofstream(library) << "not really a library";
        stored.metrics = {{12, LineMetrics{11, 3, 15}}, {14, LineMetrics{13, 3, 17}}};
        stored.glyphs.push_back(StoredGlyph{U'オ', 12, Glyph{1, 10, 3, 2, 12, {0, 128, 255, 7, 8, 9}}});
        stored.glyphs.push_back(StoredGlyph{U' ', 14, Glyph{0, 0, 0, 0, 4, {}}});
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder, path, font, library;
    GlyphStore stored;
};

}  // namespace

TEST_F(GlyphStoreFile, ReadsBackWhatWasWrittenForTheSameFontHintingAndLibraryOnly)
{
    FontFile face{font, 0, "VL Gothic"};
    std::string stamp = glyph_stamp(face, 0x10000, library);
    ASSERT_FALSE(stamp.empty());
    EXPECT_FALSE(read_glyph_store(path, face, 0x10000)) << "nothing written yet";
    write_glyph_store(path, stamp, stored);
    auto back = read_glyph_store(path, face, 0x10000);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->metrics.size(), 2u);
    EXPECT_EQ(back->metrics[1].first, 14);
    EXPECT_EQ(back->metrics[1].second.gdi_height, 17);
    ASSERT_EQ(back->glyphs.size(), 2u);
    const StoredGlyph& o = back->glyphs[0];
    EXPECT_EQ(o.code_point, U'オ');
    EXPECT_EQ(o.pixel_size, 12);
    EXPECT_EQ(o.glyph.advance, 12);
    EXPECT_EQ(o.glyph.coverage, stored.glyphs[0].glyph.coverage);
    EXPECT_EQ(back->glyphs[1].glyph.advance, 4);

    EXPECT_FALSE(read_glyph_store(path, face, 0)) << "other hinting";
    EXPECT_FALSE(read_glyph_store(path, FontFile{font, 1, "VL Gothic"}, 0x10000)) << "other face in the file";
    std::ofstream(library, std::ios::app) << "upgraded";
    EXPECT_FALSE(read_glyph_store(path, face, 0x10000)) << "FreeType changed";
    write_glyph_store(path, glyph_stamp(face, 0x10000, library), stored);
    ASSERT_TRUE(read_glyph_store(path, face, 0x10000));
    std::ofstream(font, std::ios::app) << "changed";
    EXPECT_FALSE(read_glyph_store(path, face, 0x10000)) << "font changed";
    EXPECT_TRUE(glyph_stamp(FontFile{folder + "/gone.ttf", 0, "VL Gothic"}, 0, library).empty());
    EXPECT_TRUE(glyph_stamp(face, 0, folder + "/gone.so").empty());
}

TEST_F(GlyphStoreFile, ADamagedFileReadsAsNone)
{
    FontFile face{font, 0, "VL Gothic"};
    write_glyph_store(path, glyph_stamp(face, 0, library), stored);
    std::string whole;
    {
        std::ifstream in(path, std::ios::binary);
        whole.assign(std::istreambuf_iterator<char>(in), {});
    }
    auto damaged = [&](const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return !read_glyph_store(path, face, 0).has_value();
    };
    for (size_t cut : {size_t{0}, size_t{5}, size_t{20}, whole.size() / 2, whole.size() - 1})
        EXPECT_TRUE(damaged(whole.substr(0, cut))) << "cut to " << cut << " bytes";
    EXPECT_TRUE(damaged(whole + "x")) << "trailing bytes";
    // The last byte of the first glyph's width (28 bytes a glyph's header, 6 its
    // coverage, then the second glyph's 28): a width far beyond any glyph.
    std::string huge = whole;
    huge[huge.size() - 28 - 6 - 28 + 16 + 3] = '\x7f';
    EXPECT_TRUE(damaged(huge));
    EXPECT_TRUE(damaged(std::string(300, '\xff')));
}

TEST(GlyphCacheFromStore, OpensTheFaceOnlyForAGlyphItLacks)
{
    int opened = 0;
    GlyphCache cache(
        [&opened]() -> FontFace* {
            ++opened;
            return nullptr;  // as if the font were gone: the glyph renders as nothing
        },
        kDeviceHinting);
    cache.insert(U'オ', 12, Glyph{1, 10, 1, 1, 12, {200}});
    EXPECT_EQ(cache.get(U'オ', 12).advance, 12);
    EXPECT_EQ(cache.get(U'オ', 12).coverage, std::vector<uint8_t>{200});
    EXPECT_EQ(opened, 0) << "a stored glyph needs no face";
    EXPECT_EQ(cache.get(U'オ', 14).advance, 0) << "another size is not stored";
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(cache.rendered(), 0u) << "nothing was rendered without a face";
    int held = 0;
    cache.for_each([&](char32_t code_point, int size, const Glyph&) { held += code_point == U'オ' && size == 12; });
    EXPECT_EQ(held, 1);
}
