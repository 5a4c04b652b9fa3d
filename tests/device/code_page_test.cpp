// MultiByteToWideChar and WideCharToMultiByte: the handheld's code page 932 and
// UTF-8, with the partial fills and error answers Windows gives.
#include <gtest/gtest.h>

#include <string>

#include "win32.h"

namespace {

constexpr char16_t unfilled = 0x7F7F;
const std::string sjis_minutes_seconds = "\x82\x4f\x95\xaa\x82\x4f\x95\x62";  // ０分０秒
const std::u16string minutes_seconds = u"\uFF10\u5206\uFF10\u79D2";

struct Wide {
    int result;
    DWORD error;
    std::u16string out;  // the whole output room, unfilled units included
};

Wide to_wide(UINT cp, DWORD flags, const std::string& bytes, int count, int room)
{
    std::u16string out((size_t)room, unfilled);
    SetLastError(0xBEEF);
    int r = MultiByteToWideChar(cp, flags, bytes.c_str(), count, room ? out.data() : nullptr, room);
    return {r, GetLastError(), out};
}

struct Narrow {
    int result;
    DWORD error;
    std::string out;
    BOOL used_default;
};

Narrow to_narrow(UINT cp, const std::u16string& text, int count, int room, const char* default_char = nullptr)
{
    std::string out((size_t)room, '#');
    BOOL used = 77;
    SetLastError(0xBEEF);
    int r = WideCharToMultiByte(cp, 0, text.c_str(), count, room ? out.data() : nullptr, room, default_char,
                                cp == CP_UTF8 ? nullptr : &used);
    return {r, GetLastError(), out, used};
}

TEST(CodePages, SettingsTextConvertsIntoExactlyThreeCharacters)
{
    Wide w = to_wide(CP_ACP, 0, "4 3", 3, 3);
    EXPECT_EQ(w.result, 3);
    EXPECT_EQ(w.out, u"4 3");

    // A text whose terminator finds no room still fills the room, then fails.
    w = to_wide(CP_ACP, 0, "4 3", -1, 3);
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(w.error, (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(w.out, u"4 3");

    Narrow n = to_narrow(CP_ACP, u"2 1", -1, 3);
    EXPECT_EQ(n.result, 0);
    EXPECT_EQ(n.error, (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(n.out, "2 1");
    n = to_narrow(CP_ACP, u"-1 2", -1, 3);
    EXPECT_EQ(n.out, "-1 ");
}

TEST(CodePages, SizesCountTheTerminatorOnlyWhenAskedTo)
{
    EXPECT_EQ(to_wide(932, 0, sjis_minutes_seconds, -1, 0).result, 5);
    EXPECT_EQ(to_wide(932, 0, "a", -7, 0).result, 2);  // any negative count reads to the terminator
    EXPECT_EQ(to_narrow(CP_ACP, minutes_seconds, -1, 0).result, 9);
    EXPECT_EQ(to_narrow(CP_UTF8, minutes_seconds, 4, 0).result, 12);
}

TEST(CodePages, DoubleByteTextRoundTripsAndFillsOnlyWholeCharacters)
{
    for (UINT cp : {(UINT)CP_ACP, 932u}) {
        Wide w = to_wide(cp, MB_ERR_INVALID_CHARS, sjis_minutes_seconds, 8, 4);
        EXPECT_EQ(w.result, 4);
        EXPECT_EQ(w.out, minutes_seconds);
        Narrow n = to_narrow(cp, minutes_seconds, 4, 8);
        EXPECT_EQ(n.result, 8);
        EXPECT_EQ(n.out, sjis_minutes_seconds);
        EXPECT_FALSE(n.used_default);
    }
    // Three bytes of room hold one double-byte character and never half of the next.
    Narrow n = to_narrow(CP_ACP, minutes_seconds, 4, 3);
    EXPECT_EQ(n.result, 0);
    EXPECT_EQ(n.error, (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(n.out, "\x82\x4f#");
    Wide w = to_wide(CP_ACP, 0, sjis_minutes_seconds, 8, 2);
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(w.error, (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(w.out, u"\uFF10\u5206");
}

TEST(CodePages, SingleBytesMapAsWindowsMapsThem)
{
    Wide w = to_wide(CP_ACP, 0, "\xb1\x80\xa0\xfd\xff", 5, 5);
    EXPECT_EQ(w.out, u"\uFF71\u0080\uF8F0\uF8F1\uF8F3");  // half-width katakana, then Windows' extras
    EXPECT_EQ(to_narrow(CP_ACP, u"\uFF71\u0080\uF8F0\uF8F1\uF8F3", 5, 5).out, "\xb1\x80\xa0\xfd\xff");
    // The private-use stand-ins are not real characters to a strict conversion.
    EXPECT_EQ(to_wide(CP_ACP, MB_ERR_INVALID_CHARS, "\x80", 1, 1).result, 1);
    EXPECT_EQ(to_wide(CP_ACP, MB_ERR_INVALID_CHARS, "\xa0", 1, 1).error, (DWORD)ERROR_NO_UNICODE_TRANSLATION);
}

TEST(CodePages, BrokenAnsiTextReadsAsTheDefaultCharacterOrIsRefused)
{
    struct Case {
        std::string bytes;
        std::u16string wide;
    } cases[] = {
        {std::string("\x85\x40", 2), u"\u30FB"},  // a pair that names nothing
        {std::string("\x81\x20", 2), u"\u30FB"},  // the lead byte takes any partner but NUL
        {std::string("a\x81", 2), u"a\u30FB"},    // a lead byte at the end
        {std::string("\x81\0b", 3), std::u16string(u"\u30FB\0b", 3)},
    };
    for (const Case& c : cases) {
        Wide w = to_wide(CP_ACP, 0, c.bytes, (int)c.bytes.size(), 4);
        EXPECT_EQ(w.result, (int)c.wide.size());
        EXPECT_EQ(w.out.substr(0, c.wide.size()), c.wide);
        w = to_wide(CP_ACP, MB_ERR_INVALID_CHARS, c.bytes, (int)c.bytes.size(), 4);
        EXPECT_EQ(w.result, 0);
        EXPECT_EQ(w.error, (DWORD)ERROR_NO_UNICODE_TRANSLATION);
        EXPECT_EQ(w.out, std::u16string(4, unfilled));  // refused before anything is written
    }
    // The code page's own middle dot is a real character.
    EXPECT_EQ(to_wide(CP_ACP, MB_ERR_INVALID_CHARS, "\x81\x45", 2, 1).out, u"\u30FB");
}

TEST(CodePages, CharactersWithoutBytesBecomeTheDefaultCharacter)
{
    Narrow n = to_narrow(CP_ACP, u"a\u20ACb", 3, 3);
    EXPECT_EQ(n.result, 3);
    EXPECT_EQ(n.out, "a?b");
    EXPECT_TRUE(n.used_default);
    EXPECT_EQ(to_narrow(CP_ACP, u"a\u20ACb", 3, 3, "*").out, "a*b");
    EXPECT_EQ(to_narrow(CP_ACP, u"\U0001F600", 2, 2).out, "??");  // each surrogate on its own
    EXPECT_EQ(to_narrow(CP_ACP, u"\u00A5", 1, 1).out, "?");       // no best-fit backslash

    // Characters with more than one code take the one Windows writes.
    EXPECT_EQ(to_narrow(CP_ACP, u"\u2252\u2170\uFFE2\u7E8A", 4, 8).out, "\x81\xe0\xfa\x40\x81\xca\xfa\x5c");
    EXPECT_EQ(to_wide(CP_ACP, 0, "\xed\x40\x87\x90", 4, 2).out, u"\u7E8A\u2252");
}

TEST(CodePages, Utf8ReplacesEachBrokenSequenceOnce)
{
    Wide w = to_wide(CP_UTF8, 0, "\xc0\xc0\x80", 3, 3);
    EXPECT_EQ(w.result, 3);
    EXPECT_EQ(w.out, u"\uFFFD\uFFFD\uFFFD");
    w = to_wide(CP_UTF8, 0, "\xe0\x20\xc0\xe6\x97", 5, 4);
    EXPECT_EQ(w.result, 4);
    EXPECT_EQ(w.out, u"\uFFFD \uFFFD\uFFFD");
    // Strict UTF-8 writes first, then refuses; a full room is reported before that.
    w = to_wide(CP_UTF8, MB_ERR_INVALID_CHARS, "\xc0", 1, 2);
    EXPECT_EQ(w.result, 0);
    EXPECT_EQ(w.error, (DWORD)ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(w.out[0], u'\uFFFD');
    EXPECT_EQ(to_wide(CP_UTF8, MB_ERR_INVALID_CHARS, "\xc0\xc0", 2, 1).error, (DWORD)ERROR_INSUFFICIENT_BUFFER);

    w = to_wide(CP_UTF8, 0, "\xf0\x9f\x98\x80z", 5, 2);  // a pair of units is never split
    EXPECT_EQ(w.error, (DWORD)ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(w.out, u"\U0001F600");
    EXPECT_EQ(to_wide(CP_UTF8, 0, "\xf0\x9f\x98\x80", 4, 1).out, std::u16string(1, unfilled));

    EXPECT_EQ(to_narrow(CP_UTF8, u"\U0001F600\xD800-", 4, 8).out, "\xf0\x9f\x98\x80\xef\xbf\xbd-");
}

TEST(CodePages, BadCallsAreRefusedWithWindowsErrors)
{
    char16_t wide[4] = {};
    char bytes[4] = "ab";
    auto error_of = [](int result) { return result == 0 ? GetLastError() : 0xFFFFFFFFu; };
    const DWORD invalid = ERROR_INVALID_PARAMETER;
    EXPECT_EQ(error_of(MultiByteToWideChar(1252, 0, "a", 1, wide, 4)), invalid);
    EXPECT_EQ(error_of(MultiByteToWideChar(CP_ACP, 0, nullptr, 1, wide, 4)), invalid);
    EXPECT_EQ(error_of(MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4)), invalid);
    EXPECT_EQ(error_of(MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 4)), invalid);
    EXPECT_EQ(error_of(MultiByteToWideChar(CP_ACP, 0, bytes, 2, (LPWSTR)(void*)bytes, 2)), invalid);
    EXPECT_EQ(error_of(MultiByteToWideChar(CP_ACP, 0x100, "a", 1, wide, 4)), 1004u);  // ERROR_INVALID_FLAGS
    EXPECT_EQ(error_of(WideCharToMultiByte(1252, 0, u"a", 1, bytes, 4, nullptr, nullptr)), invalid);
    EXPECT_EQ(error_of(WideCharToMultiByte(CP_ACP, 0, u"a", 0, bytes, 4, nullptr, nullptr)), invalid);
    // UTF-8 has no default character to give or ask about.
    EXPECT_EQ(error_of(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, bytes, 4, "?", nullptr)), invalid);
}

}  // namespace
