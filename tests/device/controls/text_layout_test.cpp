// Label text broken into lines: where breaks may fall, and that nothing is lost.
#include <gtest/gtest.h>

#include "controls/text_layout.h"
#include "testing.h"
#include "text/text.h"

namespace dev = tickvane::device;

namespace {

constexpr int kPx = 11;

int width(std::u16string_view s) { return tickvane::text::measure(s, kPx).width; }

std::u16string joined(const std::vector<std::u16string>& lines, std::u16string_view between = u"")
{
    std::u16string out;
    for (size_t i = 0; i < lines.size(); ++i)
        out += (i ? std::u16string(between) : u"") + lines[i];
    return out;
}

}  // namespace

TEST(LabelLines, JapaneseBreaksBetweenCharactersButNotBeforeClosingMarks)
{
    std::u16string text = u"０分０秒は設定できません。";
    int one = width(u"分");
    auto lines = dev::label_lines(text, kPx, one * 4);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(joined(lines), text) << "nothing lost or doubled";
    for (const auto& l : lines) {
        EXPECT_LE(width(l), one * 4);
        EXPECT_NE(l.front(), u'。');
    }
    EXPECT_EQ(dev::label_lines(text, kPx, 10000).size(), 1u);
}

TEST(LabelLines, LatinWordsStayWholeAndSpacesGoAtTheBreaks)
{
    auto lines = dev::label_lines(u"alpha beta gamma delta", kPx, width(u"gamma delta") + 1);
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"alpha beta", u"gamma delta"}));
    lines = dev::label_lines(u"minutes", kPx, width(u"min"));  // too wide alone: cut where it must
    EXPECT_EQ(joined(lines), u"minutes");
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(dev::label_lines(u"one\r\ntwo\n\nthree", kPx, 1000),
              (std::vector<std::u16string>{u"one", u"two", u"", u"three"}));
}

TEST(LabelLines, NarrowOrOddInputStillEndsAndKeepsPairsTogether)
{
    std::u16string pair = u"\U00020B9F\U00020B9F";  // a character outside the BMP, twice
    auto lines = dev::label_lines(pair, kPx, 0);
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"\U00020B9F", u"\U00020B9F"}));
    EXPECT_EQ(dev::label_lines(u"", kPx, 10), (std::vector<std::u16string>{u""}));
    EXPECT_EQ(dev::label_lines(u"   ", kPx, 0).size(), 1u);
    std::u16string long_text(20000, u'分');
    auto many = dev::label_lines(long_text, kPx, width(u"分分分"));
    EXPECT_EQ(many.size(), 20000u / 3 + 1);
}

TEST(LabelLines, MnemonicMarkersAreNotShown)
{
    EXPECT_EQ(dev::without_mnemonics(u"&Apply"), u"Apply");
    EXPECT_EQ(dev::without_mnemonics(u"A && B&"), u"A & B");
    EXPECT_EQ(dev::without_mnemonics(u"適用(&A)"), u"適用(A)");
}
