// Window timers. WM_TIMER is made when the queue is otherwise empty and a timer is
// due; a timer that fell behind fires once, not once per missed interval.
#include <algorithm>

#include "time/clock.h"
#include "wm/message_queue.h"
#include "wm/window_manager.h"

using namespace tickvane::device;

namespace {
constexpr UINT kMinimumInterval = 10;  // USER_TIMER_MINIMUM
}

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (hwnd != nullptr && !is_own_window(hwnd))
        return 0;
    auto& timers = message_queue().timers;
    if (hwnd == nullptr) {
        UINT_PTR fresh = 0x100;
        while (std::any_of(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hwnd == nullptr && t.id == fresh; }))
            ++fresh;
        id = fresh;
    }
    UINT interval = std::clamp<UINT>(elapse, kMinimumInterval, 0x7FFFFFFF);
    Timer timer{hwnd, id, interval, now_ms() + interval, proc};
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it != timers.end())
        *it = timer;
    else
        timers.push_back(timer);
    return hwnd == nullptr ? id : (id != 0 ? id : 1);
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id)
{
    auto& timers = message_queue().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end())
        return FALSE;
    timers.erase(it);
    return TRUE;
}
