// The resource script as windres compiled it and the executable carries it.
#include "embedded_res.h"
#include "resource.h"
#include "resource_readers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace restest = tickvane::restest;

constexpr std::uint16_t kRtIcon = 3, kRtBitmap = 2, kRtGroupIcon = 14;

using Entries = std::vector<restest::ResEntry>;

Entries EmbeddedEntries()
{
    const restest::Bytes res(tickvane_res_data, tickvane_res_data + tickvane_res_size);
    return restest::ParseRes(res);
}

const restest::ResEntry* Find(const Entries& entries, std::uint16_t type, std::uint16_t name)
{
    for (const auto& e : entries)
        if (e.typeId == type && e.nameId == name)
            return &e;
    return nullptr;
}

TEST(EmbeddedRes, StartsWithTheEmptyEntryThatMarksA32BitResFile)
{
    ASSERT_GE(tickvane_res_size, 32ul);
    const auto entries = EmbeddedEntries();
    EXPECT_EQ(entries.front().dataSize, 0u);
    EXPECT_EQ(entries.front().headerSize, 32u);
    EXPECT_EQ(entries.front().typeId, 0);
    EXPECT_EQ(entries.front().nameId, 0);
}

TEST(EmbeddedRes, CarriesBothGlyphSheetsAsTheCommittedBitmapsWithoutFileHeader)
{
    const auto entries = EmbeddedEntries();
    const std::pair<int, const char*> sheets[] = {{IDB_SMALL_GLYPHS, "small_glyphs.bmp"},
                                                  {IDB_LARGE_GLYPHS, "large_glyphs.bmp"}};
    for (auto [id, file] : sheets) {
        SCOPED_TRACE(file);
        const auto* entry = Find(entries, kRtBitmap, static_cast<std::uint16_t>(id));
        ASSERT_NE(entry, nullptr);
        const auto bmp = restest::ReadFile(std::string(TICKVANE_RESOURCES_DIR) + "/" + file);
        EXPECT_TRUE(entry->data == restest::Bytes(bmp.begin() + 14, bmp.end()));
    }
}

TEST(EmbeddedRes, CarriesTheIconGroupAndEveryIconItNames)
{
    const auto entries = EmbeddedEntries();
    const auto* group = Find(entries, kRtGroupIcon, IDI_APP);
    ASSERT_NE(group, nullptr);
    const auto& g = group->data;
    ASSERT_EQ(restest::U16(g, 4), 4) << "image count";
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t e = 6 + 14 * i;  // GRPICONDIRENTRY: the icon's id replaces the file offset
        const auto* icon = Find(entries, kRtIcon, restest::U16(g, e + 12));
        ASSERT_NE(icon, nullptr) << "entry " << i;
        EXPECT_EQ(icon->dataSize, restest::U32(g, e + 8));
        EXPECT_EQ(restest::U32(icon->data, 0), 40u) << "a DIB";
    }
}

}  // namespace
