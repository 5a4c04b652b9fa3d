// wsprintfW and _wtoi as the clock and Windows programs use them.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <string>

#include "win32.h"

namespace {

struct Printed {
    int result;
    std::u16string text;
};

template <typename... Args>
Printed print(const char16_t* format, Args... args)
{
    char16_t buffer[1100];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    int n = wsprintfW(buffer, format, args...);
    return {n, std::u16string(buffer)};
}

TEST(Wsprintf, TheSettingsFormatAndSignedNumbers)
{
    Printed p = print(u"%d %d", 2, 1);
    EXPECT_EQ(p.result, 3);
    EXPECT_EQ(p.text, u"2 1");
    p = print(u"%d %d", -1, 2);
    EXPECT_EQ(p.result, 4);
    EXPECT_EQ(p.text, u"-1 2");
    EXPECT_EQ(print(u"%i|%d", INT_MIN, INT_MAX).text, u"-2147483648|2147483647");
    EXPECT_EQ(print(u"%ld %hd", -5, 7).text, u"-5 7");
}

TEST(Wsprintf, NumberFormats)
{
    EXPECT_EQ(print(u"%u", -1).text, u"4294967295");
    EXPECT_EQ(print(u"%x %X %#x %#X", 255, 255, 255, 0xabc).text, u"ff FF 0xff 0XABC");
    EXPECT_EQ(print(u"[%5d][%-5d][%05d][%.3d]", 42, 42, -42, 7).text, u"[   42][42   ][-0042][007]");
    EXPECT_EQ(print(u"[%-05d]", 42).text, u"[42   ]");  // left alignment wins over zeros
    EXPECT_EQ(print(u"%p", (void*)0x1f).text, std::u16string(2 * sizeof(void*) - 2, u'0') + u"1F");
}

TEST(Wsprintf, CharactersAndStrings)
{
    EXPECT_EQ(print(u"%c%hc%C", (int)u'\u5206', 'b', 'c').text, u"\u5206bc");
    EXPECT_EQ(print(u"%s|%ls|%hs|%S", u"wide", u"long", "ansi", "ANSI").text, u"wide|long|ansi|ANSI");
    EXPECT_EQ(print(u"%hs", "\x95\xaa\x95\x62").text, u"\u5206\u79D2");  // ANSI strings are code page 932
    EXPECT_EQ(print(u"[%.2s][%-4s][%4s][%.0s]", u"abcdef", u"ab", u"ab", u"all").text, u"[ab][ab  ][  ab][all]");
    EXPECT_EQ(print(u"%s %hs", (const char16_t*)nullptr, (const char*)nullptr).text, u"(null) (null)");
}

TEST(Wsprintf, PercentSignsAndUnknownConversions)
{
    EXPECT_EQ(print(u"100%%").text, u"100%");
    Printed p = print(u"%y%d", 5);  // the unknown letter prints and takes no argument
    EXPECT_EQ(p.text, u"y5");
    EXPECT_EQ(print(u"end%").text, u"end");
    EXPECT_EQ(print(u"%-").text, u"");
}

TEST(Wsprintf, OutputStopsAt1023CharactersAndATerminator)
{
    std::u16string long_text(2000, u'a');
    char16_t buffer[1100];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(wsprintfW(buffer, long_text.c_str()), 1023);
    EXPECT_EQ(buffer[1022], u'a');
    EXPECT_EQ(buffer[1023], u'\0');
    EXPECT_EQ(buffer[1024], u'#');

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(wsprintfW(buffer, u"%d%s", 12, long_text.c_str()), 1023);
    EXPECT_EQ(buffer[1023], u'\0');
    EXPECT_EQ(buffer[1024], u'#');
    EXPECT_EQ(wsprintfW(buffer, u"%99999d", 1), 1023);  // padding stops there too
    EXPECT_EQ(wsprintfW(nullptr, u"%d", 1), 0);
}

TEST(Wtoi, ReadsALeadingDecimalNumber)
{
    EXPECT_EQ(_wtoi(u"4"), 4);
    EXPECT_EQ(_wtoi(u" \t\n-17xyz"), -17);
    EXPECT_EQ(_wtoi(u"+8"), 8);
    EXPECT_EQ(_wtoi(u"3 4"), 3);
    EXPECT_EQ(_wtoi(u"\u3000\uFF11\uFF12"), 12);  // ideographic space, fullwidth digits
    for (const char16_t* none : {u"", u" ", u"x1", u"-", u"+-1", u"- 1"})
        EXPECT_EQ(_wtoi(none), 0) << (int)none[0];
    EXPECT_EQ(_wtoi(nullptr), 0);
}

TEST(Wtoi, ClampsWhatAnIntCannotHold)
{
    errno = 0;
    EXPECT_EQ(_wtoi(u"2147483647"), INT_MAX);
    EXPECT_EQ(_wtoi(u"-2147483648"), INT_MIN);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(_wtoi(u"2147483648"), INT_MAX);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(_wtoi(u"-2147483649"), INT_MIN);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(_wtoi(u"99999999999999999999999"), INT_MAX);
}

}  // namespace
