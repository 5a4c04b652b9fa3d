// A top-level window holding controls, for driving them as a person does on the
// headless device: taps, drags and keys go through the message loop, and what the
// parent hears (WM_COMMAND) goes to the message log.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "display/display.h"
#include "display/png_writer.h"
#include "gdi/fonts.h"
#include "loop_script.h"
#include "message_sequence.h"
#include "testing.h"
#include "win32.h"

namespace controls_test {

namespace dt = tickvane::device::testing;
using namespace tickvane::test;

inline LRESULT CALLBACK host_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        message_log().record(hwnd, msg, wParam, lParam);
        return 0;
    }
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH face = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
        FillRect((HDC)wParam, &r, face);
        DeleteObject(face);
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

inline void pointer(tickvane::display::EventKind kind, int x, int y)
{
    using K = tickvane::display::EventKind;
    (kind == K::PointerDown ? dt::pointer_down : kind == K::PointerUp ? dt::pointer_up : dt::pointer_move)(x, y);
}

// A press at one point, moves through the others, the release at the last.
inline void drag(std::initializer_list<POINT> path)
{
    using tickvane::display::EventKind;
    const POINT* p = path.begin();
    pointer(EventKind::PointerDown, p->x, p->y);
    for (++p; p + 1 < path.end(); ++p)
        pointer(EventKind::PointerMove, p->x, p->y);
    pointer(EventKind::PointerMove, p->x, p->y);
    pointer(EventKind::PointerUp, p->x, p->y);
}

inline RECT screen_rect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

inline POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

inline bool is_dark(uint32_t xrgb)
{
    int r = (int)(xrgb >> 16 & 0xFF), g = (int)(xrgb >> 8 & 0xFF), b = (int)(xrgb & 0xFF);
    return r + g + b < 3 * 96;
}

// Pixels of `r` (screen coordinates) for which `pick` holds.
template <class Pick>
int count_pixels(const RECT& r, Pick pick)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += pick(dt::screen_pixel(x, y)) ? 1 : 0;
    return n;
}

// With TICKVANE_TEST_SCREENSHOTS set to a folder, the screen as it is now goes there.
inline void screenshot(const std::string& name)
{
    const char* folder = std::getenv("TICKVANE_TEST_SCREENSHOTS");
    if (folder == nullptr)
        return;
    std::vector<uint32_t> screen = dt::screen_pixels();
    tickvane::display::Pixels px{screen.data(), dt::screen_width(), dt::screen_height(), dt::screen_width()};
    tickvane::display::write_png_atomically(px, std::string(folder) + "/" + name + ".png", nullptr);
}

class ControlHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        message_log().forget();
        WNDCLASSW wc{};
        wc.lpfnWndProc = host_proc;
        wc.lpszClassName = u"control host";
        ASSERT_NE(RegisterClassW(&wc), 0);
        host = CreateWindowExW(0, u"control host", u"host", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, dt::instance(), nullptr);
        ASSERT_NE(host, nullptr);
        ShowWindow(host, SW_SHOW);
    }
    // A child control at (x, y) of the host's client area, in the dialog's 11-pixel font.
    HWND make(const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int w, int h, int id)
    {
        HWND c = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host, (HMENU)(intptr_t)id,
                                 dt::instance(), nullptr);
        if (c != nullptr)
            SendMessageW(c, WM_SETFONT, (WPARAM)font11(), TRUE);
        return c;
    }
    static HFONT font11() { return tickvane::device::font_for_pixels(11); }

    // Every notification the host got since the log was last cleared: from these
    // controls, with these codes, in this order.
    ::testing::AssertionResult notified(std::vector<std::pair<HWND, int>> codes) const
    {
        std::vector<Expect> expected;
        for (auto [control, code] : codes)
            expected.push_back(command(host, GetDlgCtrlID(control), code, control));
        return sequence_is(message_log().all(), {WM_COMMAND}, expected);
    }

    HWND host = nullptr;
};

}  // namespace controls_test
