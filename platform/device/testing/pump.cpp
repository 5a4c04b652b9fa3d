// Running the message loop from a test until a condition holds at an idle point.
#include <utility>

#include "seams/seams.h"
#include "testing.h"

namespace tickvane::device::testing {

namespace {

// A thread message only this loop posts; the program's own loops never see it.
constexpr UINT kPumpDone = WM_USER + 0x7E00;

}  // namespace

bool pump_until(const std::function<bool()>& done, int max_idles)
{
    bool met = false, posted = false;
    int idles = 0;
    std::function<void()> outer = std::exchange(seams().idle, [&] {
        if (posted)
            return;
        met = done();
        if (met || ++idles >= max_idles) {
            posted = true;
            PostMessageW(nullptr, kPumpDone, 0, 0);
        }
    });
    MSG m;
    BOOL got;
    while ((got = GetMessageW(&m, nullptr, 0, 0)) != 0) {
        if (m.hwnd == nullptr && m.message == kPumpDone)
            break;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    seams().idle = std::move(outer);
    if (got == 0)
        PostQuitMessage((int)m.wParam);
    return met;
}

void pump()
{
    pump_until([] { return true; });
}

}  // namespace tickvane::device::testing
