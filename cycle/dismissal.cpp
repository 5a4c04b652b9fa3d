// Ending an appearance: register the next one, then tear down.
#include "zubo.h"

// Pauses between attempts at a refused registration. The service refuses only
// when it cannot store the request, which rarely mends within a second, so a few
// spaced attempts are made and then the clock stays rather than vanish for good.
static const DWORD kRetryPauseMs[] = {250, 500, 1000, 2000};

// Repeats a refused registration; TRUE once one has been accepted.
static BOOL RetryRefusedSchedule(void)
{
    for (DWORD pause : kRetryPauseMs) {
        if (!g_scheduleFailed)
            break;
        Sleep(pause);
        ScheduleNextAppearance();
    }
    return !g_scheduleFailed;
}

void DismissClock(HWND hwnd)
{
    ScheduleNextAppearance();
    ShowWindow(hwnd, SW_MINIMIZE);
    if (!RetryRefusedSchedule()) {
        // No next appearance could be arranged: show the clock again so the
        // user sees it did not go, and a later tap tries anew.
        ShowWindow(hwnd, SW_RESTORE);
        return;
    }
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
}

void DismissOnDeactivate(HWND hwnd)
{
    ScheduleNextAppearance();
    if (!RetryRefusedSchedule())
        return;  // stays in the background; a later dismissal tries anew
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
}
