#include "text/utf16.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace tickvane::text {
namespace {

std::vector<char32_t> decode(std::u16string_view text)
{
    std::vector<char32_t> out;
    for (std::size_t pos = 0; pos < text.size();)
        out.push_back(next_code_point(text, pos));
    return out;
}

TEST(Utf16, DecodesBasicPlaneAndSurrogatePairs)
{
    EXPECT_EQ(decode(u"A終了"), (std::vector<char32_t>{U'A', U'終', U'了'}));
    // U+20BB7 and U+1F600: first and last of their surrogate ranges exercised differently.
    EXPECT_EQ(decode(u"\xD842\xDFB7\xD83D\xDE00"), (std::vector<char32_t>{0x20BB7, 0x1F600}));
    EXPECT_EQ(decode(u"\xD800\xDC00\xDBFF\xDFFF"), (std::vector<char32_t>{0x10000, 0x10FFFF}));
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementWithoutSwallowingNeighbours)
{
    const char32_t r = kReplacementCharacter;
    EXPECT_EQ(decode(u"\xD800"), (std::vector<char32_t>{r}));  // high at end
    EXPECT_EQ(decode(u"\xDC00"), (std::vector<char32_t>{r}));  // lone low
    EXPECT_EQ(decode(u"\xD800"
                     u"A"),
              (std::vector<char32_t>{r, U'A'}));                                    // high, then not low
    EXPECT_EQ(decode(u"\xD800\xD800\xDC00"), (std::vector<char32_t>{r, 0x10000}));  // high, then a pair
    EXPECT_EQ(decode(u"\xDC00\xD800"), (std::vector<char32_t>{r, r}));              // reversed pair
}

}  // namespace
}  // namespace tickvane::text
