// Push buttons and labels as a person uses and sees them.
#include "control_host.h"

using namespace controls_test;

namespace {

class Buttons : public ControlHost {
protected:
    void SetUp() override
    {
        ControlHost::SetUp();
        ok = make(u"BUTTON", u"適用", WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 100, 62, 23, IDOK);
        close = make(u"BUTTON", u"閉じる", WS_TABSTOP | BS_PUSHBUTTON, 90, 100, 62, 23, IDCANCEL);
        ASSERT_NE(ok, nullptr);
        ASSERT_NE(close, nullptr);
        pump();
    }
    HWND ok = nullptr, close = nullptr;
};

}  // namespace

TEST_F(Buttons, TapClicksOnceWithTheButtonsIdAndTakesTheFocus)
{
    POINT c = centre(screen_rect(close));
    dt::tap(c.x, c.y);
    pump();
    EXPECT_TRUE(notified({{close, BN_CLICKED}}));
    EXPECT_EQ(GetFocus(), close);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Buttons, PressThenSlideOffSendsNothingAndSlidingBackClicks)
{
    RECT r = screen_rect(ok);
    POINT c = centre(r);
    drag({c, POINT{c.x, r.bottom + 20}});
    pump();
    EXPECT_TRUE(notified({}));
    EXPECT_EQ(GetCapture(), nullptr);

    drag({c, POINT{c.x, r.bottom + 20}, POINT{c.x + 3, c.y}});
    pump();
    EXPECT_TRUE(notified({{ok, BN_CLICKED}}));
}

TEST_F(Buttons, PressedLooksSunkenUntilThePointerLeaves)
{
    RECT r = screen_rect(close);
    POINT c = centre(r);
    auto corners = [&] {
        return std::pair{dt::screen_pixel(r.left, r.top), dt::screen_pixel(r.right - 1, r.bottom - 1)};
    };
    auto raised = corners();
    EXPECT_NE(raised.first, raised.second);  // light above and left, dark below and right
    pointer(tickvane::display::EventKind::PointerDown, c.x, c.y);
    pump();
    auto sunken = corners();
    EXPECT_EQ(sunken.first, sunken.second);
    EXPECT_NE(sunken, raised);
    EXPECT_EQ(GetCapture(), close);
    pointer(tickvane::display::EventKind::PointerMove, c.x, r.top - 30);
    pump();
    EXPECT_EQ(corners(), raised);
    pointer(tickvane::display::EventKind::PointerUp, c.x, r.top - 30);
    pump();
    EXPECT_TRUE(notified({}));
}

TEST_F(Buttons, SpaceClicksTheFocusedButtonOnRelease)
{
    SetFocus(close);
    dt::key_down(VK_SPACE);
    pump();
    EXPECT_TRUE(notified({}));  // not yet: a button clicks when the key comes up
    dt::press_key(VK_SPACE);    // a second press: its up clicks once
    pump();
    EXPECT_TRUE(notified({{close, BN_CLICKED}}));
    dt::press_key(VK_RETURN);  // without a dialog around it Enter means nothing to a button
    pump();
    EXPECT_TRUE(notified({{close, BN_CLICKED}}));
}

TEST_F(Buttons, DisabledButtonIgnoresTapsAndSpaceAndDrawsGreyText)
{
    RECT r = screen_rect(close);
    auto dark = [](uint32_t p) { return is_dark(p); };
    auto grey = [](uint32_t p) { return p != 0xF0F0F0 && p != 0xFFFFFF && !is_dark(p); };
    RECT text_area{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
    EXPECT_GT(count_pixels(text_area, dark), 10);
    EnableWindow(close, FALSE);
    pump();
    EXPECT_EQ(count_pixels(text_area, dark), 0);
    EXPECT_GT(count_pixels(text_area, grey), 10);
    screenshot("button-disabled");

    POINT c = centre(r);
    dt::tap(c.x, c.y);
    SetFocus(close);
    dt::press_key(VK_SPACE);
    pump();
    EXPECT_TRUE(notified({}));
    EXPECT_NE(GetFocus(), close);
}

TEST_F(Buttons, DefaultStyleDrawsAThickerFrameAndFollowsBmSetStyle)
{
    RECT d = screen_rect(ok), n = screen_rect(close);
    auto dark_edge_rows = [](const RECT& r) {  // dark pixels down the left edge, 2 columns
        return count_pixels(RECT{r.left, r.top + 3, r.left + 2, r.bottom - 3}, is_dark);
    };
    EXPECT_GT(dark_edge_rows(d), dark_edge_rows(n));
    EXPECT_EQ(SendMessageW(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageW(close, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);

    SendMessageW(ok, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageW(close, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    pump();
    EXPECT_LT(dark_edge_rows(screen_rect(ok)), dark_edge_rows(screen_rect(close)));
    EXPECT_EQ(SendMessageW(close, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(Buttons, FocusShowsADottedRectangleInsideTheFace)
{
    RECT r = screen_rect(close);
    // The focus rectangle runs along the top, three pixels in: every other pixel dark.
    RECT dots{r.left + 6, r.top + 3, r.right - 6, r.top + 4};
    EXPECT_EQ(count_pixels(dots, is_dark), 0);
    SetFocus(close);
    pump();
    int width = dots.right - dots.left;
    EXPECT_NEAR(count_pixels(dots, is_dark), width / 2, 1);
    screenshot("button-focused");
}

TEST_F(Buttons, TextIsCentredInTheButton)
{
    RECT r = screen_rect(ok);
    int left = r.right, right = r.left, top = r.bottom, bottom = r.top;
    for (int y = r.top + 3; y < r.bottom - 3; ++y)
        for (int x = r.left + 3; x < r.right - 3; ++x)
            if (is_dark(dt::screen_pixel(x, y))) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_LT(left, right);
    EXPECT_NEAR((left + right) / 2.0, (r.left + r.right - 1) / 2.0, 1.5);
    EXPECT_NEAR((top + bottom) / 2.0, (r.top + r.bottom - 1) / 2.0, 1.5);
}

TEST_F(Buttons, LabelsWrapAtTheirWidthAndStayInside)
{
    HWND label = make(u"STATIC", u"分 秒 分 秒 分 秒", SS_LEFT, 10, 40, 30, 40, -1);
    HWND centred = make(u"STATIC", u"秒", SS_CENTER, 10, 140, 40, 13, -1);
    HWND right = make(u"STATIC", u"秒", SS_RIGHT, 60, 140, 40, 13, -1);
    pump();
    RECT r = screen_rect(label);
    auto dark_in = [](RECT a) { return count_pixels(a, is_dark); };
    EXPECT_GT(dark_in(RECT{r.left, r.top, r.right, r.top + 13}), 10);       // first line
    EXPECT_GT(dark_in(RECT{r.left, r.top + 13, r.right, r.top + 26}), 10);  // wrapped on
    EXPECT_EQ(dark_in(RECT{r.right, r.top - 5, r.right + 20, r.bottom + 5}), 0);
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);

    RECT c = screen_rect(centred), g = screen_rect(right);
    auto left_ink = [&](RECT a) {
        for (int x = a.left; x < a.right; ++x)
            if (dark_in(RECT{x, a.top, x + 1, a.bottom}) > 0)
                return x - (int)a.left;
        return -1;
    };
    EXPECT_NEAR(left_ink(c), 40 / 2 - 11 / 2, 3);
    EXPECT_GE(left_ink(g), 40 - 12);
    screenshot("labels");
}
