// The clock on a headless device with a pinned clock: what a person sees.
#include <gtest/gtest.h>

#include "clock_run.h"
#include "face_model.h"
#include "testing.h"
#include "zubo.h"

using namespace tickvane::test;
namespace dt = tickvane::device::testing;

namespace {

SYSTEMTIME at(WORD year, WORD month, WORD dow, WORD day, WORD hour, WORD minute, WORD second)
{
    return SYSTEMTIME{year, month, dow, day, hour, minute, second, 0};
}

// The year's four digits, the same on every screen.
std::vector<GlyphCopy> year_2026()
{
    const Image* s = &small_sheet();
    return {{s, small_digit(2), 0, 15, 30, 0, 0},
            {s, small_digit(0), 0, 15, 30, 20, 0},
            {s, small_digit(2), 0, 15, 30, 40, 0},
            {s, small_digit(6), 0, 15, 30, 60, 0}};
}

// Month/day row at (x, y): two digits, slash, two digits, weekday badge.
std::vector<GlyphCopy> date_row(int x, int y, int month, int day, int badge_column)
{
    const Image* s = &small_sheet();
    return {{s, small_digit(month / 10), 0, 15, 30, x, y},
            {s, small_digit(month % 10), 0, 15, 30, x + 20, y},
            {s, 200, 0, 15, 30, x + 35, y},
            {s, small_digit(day / 10), 0, 15, 30, x + 50, y},
            {s, small_digit(day % 10), 0, 15, 30, x + 70, y},
            {s, badge_column, 50, 15, 31, x + 90, y}};
}

std::vector<GlyphCopy> large_row(const int xs[5], int y, int height, int h, int m)
{
    const Image* l = &large_sheet();
    return {{l, large_digit(h / 10), 0, 55, height, xs[0], y},
            {l, large_digit(h % 10), 0, 55, height, xs[1], y},
            {l, large_digit(m / 10), 0, 55, height, xs[2], y},
            {l, large_digit(m % 10), 0, 55, height, xs[3], y},
            {l, 808, 0, 10, height, xs[4], y}};
}

std::vector<GlyphCopy> seconds(int x, int y, int s)
{
    const Image* sh = &small_sheet();
    return {{sh, small_digit(s / 10), 0, 15, 30, x, y}, {sh, small_digit(s % 10), 0, 15, 30, x + 20, y}};
}

template <class... Parts>
std::vector<GlyphCopy> face(Parts... parts)
{
    std::vector<GlyphCopy> all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

const int kPortraitLarge[5] = {0, 55, 125, 180, 115};
const int kLandscapeLarge[5] = {0, 75, 165, 240, 155};
constexpr int kMonday = 0, kSaturday = 100, kSunday = 180;

// Starts the clock, hands the first painted face to `check`, then ends it.
void first_face(const dt::Options& o, const std::function<void()>& check)
{
    dt::reset(o);
    ClockRun run = run_clock({{clock_shown(), check}});
    EXPECT_EQ(run.exit_code, 0);
}

}  // namespace

TEST(ClockFace, PortraitShowsLeadingZerosAndEveryGlyphInPlace)
{
    first_face({240, 320, "", at(2026, 12, 1, 7, 9, 5, 30), false, ""}, [] {
        EXPECT_EQ(compare_face(face(year_2026(), date_row(0, 40, 12, 7, kMonday),
                                    large_row(kPortraitLarge, 80, 320, 9, 5), seconds(200, 220, 30))),
                  "");
    });
}

TEST(ClockFace, LandscapeMovesDateTimeAndSeconds)
{
    first_face({320, 240, "", at(2026, 3, 1, 2, 23, 59, 59), false, ""}, [] {
        EXPECT_EQ(compare_face(face(year_2026(), date_row(100, 0, 3, 2, kMonday),
                                    large_row(kLandscapeLarge, 40, 240, 23, 59), seconds(270, 0, 59))),
                  "");
    });
}

TEST(ClockFace, SquareScreenUsesThePortraitLayout)
{
    first_face({240, 240, "", at(2026, 1, 1, 5, 0, 0, 0), false, ""}, [] {
        EXPECT_EQ(compare_face(face(year_2026(), date_row(0, 40, 1, 5, kMonday),
                                    large_row(kPortraitLarge, 80, 240, 0, 0), seconds(200, 220, 0))),
                  "");
    });
}

TEST(ClockFace, WeekendBadgesAreColoured)
{
    struct Case {
        WORD dow, day;
        int column;
        uint32_t ink;
    } cases[] = {{6, 5, kSaturday, 0x4060C0}, {0, 6, kSunday, 0xE02040}};
    for (const Case& c : cases) {
        first_face({240, 320, "", at(2026, 12, c.dow, c.day, 10, 20, 30), false, ""}, [&] {
            EXPECT_EQ(compare_face(face(year_2026(), date_row(0, 40, 12, c.day, c.column),
                                        large_row(kPortraitLarge, 80, 320, 10, 20), seconds(200, 220, 30))),
                      "");
            int inked = 0;
            RECT area = dt::work_area();
            for (int y = 40; y < 71; ++y)
                for (int x = 90; x < 105; ++x)
                    inked += dt::screen_pixel(x, area.top + y) == c.ink;
            EXPECT_GT(inked, 20) << "badge for day of week " << c.dow;
        });
    }
}

TEST(ClockFace, RotationBetweenTwoTicksShowsTheNewLayoutAtTheNextTick)
{
    dt::reset({240, 320, "", at(2026, 12, 1, 7, 12, 34, 56), false, ""});
    ClockRun run = run_clock(
        {{clock_shown(),
          [] {
              EXPECT_EQ(compare_face(face(year_2026(), date_row(0, 40, 12, 7, kMonday),
                                          large_row(kPortraitLarge, 80, 320, 12, 34), seconds(200, 220, 56))),
                        "");
              dt::rotate();
          }},
         {until("the screen to turn", [] { return dt::screen_width() == 320; }), [] {
              EXPECT_EQ(compare_face(face(year_2026(), date_row(100, 0, 12, 7, kMonday),
                                          large_row(kLandscapeLarge, 40, 240, 12, 34), seconds(270, 0, 56))),
                        "");
          }}});
    EXPECT_EQ(run.exit_code, 0);
}

TEST(ClockFace, EveryTickReadsTheClockAgain)
{
    dt::reset({240, 320, "", at(2026, 12, 1, 7, 9, 59, 59), false, ""});
    uint64_t first_tick_at = 0;
    auto ten_o_clock = [] {
        return compare_face(face(year_2026(), date_row(0, 40, 12, 7, kMonday),
                                 large_row(kPortraitLarge, 80, 320, 10, 0), seconds(200, 220, 0))) == "";
    };
    ClockRun run = run_clock({{clock_shown(),
                               [&] {
                                   dt::set_local_time(at(2026, 12, 1, 7, 10, 0, 0));
                                   first_tick_at = dt::virtual_now();
                               }},
                              {until("the face to show 10:00:00", ten_o_clock), [&] {
                                   EXPECT_EQ(dt::virtual_now() - first_tick_at, 300u)
                                       << "the face refreshes every 300 ms";
                               }}});
    EXPECT_EQ(run.exit_code, 0);
}

// Past 400 pixels the face used to be cut at the back buffer's edge; on every screen
// each glyph must land where the layout puts it, and the rest stay white.
TEST(ClockFace, LargeScreensShowEveryGlyphWhereTheLayoutPutsIt)
{
    struct Case {
        int w, h;
    } cases[] = {{400, 400}, {480, 640}, {640, 480}, {480, 800}, {1280, 1024}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        bool landscape = c.w > c.h;
        int large[5] = {0, c.w / 4 - 5, c.w / 2 + 5, 3 * (c.w / 4), c.w / 2 - 5};
        first_face({c.w, c.h, "", at(2026, 12, 1, 7, 18, 47, 38), false, ""}, [&] {
            EXPECT_EQ(compare_face(face(year_2026(), date_row(landscape ? 100 : 0, landscape ? 0 : 40, 12, 7, kMonday),
                                        large_row(large, landscape ? 40 : 80, c.h, 18, 47),
                                        seconds(landscape ? c.w - 50 : 200, landscape ? 0 : 220, 38))),
                      "");
        });
    }
}
