// The message queue: posted messages, then the quit request, then input, then
// paint, then timers, as Windows orders them. GetMessageW sleeps in between.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "clock.h"
#include "compositor/compositor.h"
#include "compositor/screen.h"
#include "gdi/gdi.h"
#include "registry/window_registry.h"
#include "seams.h"
#include "text/text.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/present.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

bool next_input_message(MSG& out);

namespace {

// Virtual time past which a test's message loop is considered stuck.
constexpr uint64_t kVirtualTimeLimitMs = 24ull * 3600 * 1000;

bool matches(HWND filter, HWND hwnd) { return filter == nullptr || filter == hwnd; }

bool take_posted(MSG& out, HWND filter)
{
    auto& q = message_queue().posted;
    auto it = std::find_if(q.begin(), q.end(), [&](const MSG& m) { return matches(filter, m.hwnd); });
    if (it == q.end())
        return false;
    out = *it;
    q.erase(it);
    return true;
}

bool take_paint(MSG& out, HWND filter)
{
    for (Window* w : all_windows()) {
        if (!w->has_update || !w->visible || w->minimized || !matches(filter, w->handle))
            continue;
        Window* top = top_level_of(w->handle);
        if (top == nullptr || !top->visible || top->minimized)
            continue;
        out = MSG{w->handle, WM_PAINT, 0, 0, (DWORD)now_ms(), {}};
        return true;
    }
    return false;
}

bool take_timer(MSG& out, HWND filter)
{
    uint64_t now = now_ms();
    for (Timer& t : message_queue().timers) {
        if (t.due > now || !matches(filter, t.hwnd))
            continue;
        t.due = now + t.interval;
        out = MSG{t.hwnd, WM_TIMER, t.id, (LPARAM)t.proc, (DWORD)now, {}};
        return true;
    }
    return false;
}

int ms_to_next_timer()
{
    uint64_t now = now_ms();
    int best = -1;
    for (const Timer& t : message_queue().timers) {
        int wait = t.due <= now ? 0 : (int)std::min<uint64_t>(t.due - now, 0x7FFFFFFF);
        if (best < 0 || wait < best)
            best = wait;
    }
    return best;
}

// Whether the registry's socket may hold foreground requests: set by a wait that it may
// have ended, so that a refresh nothing disturbed asks the socket nothing.
bool g_registry_may_be_readable = true;

void take_display_events()
{
    display::Event e;
    while (compositor().display && compositor().display->poll(e))
        input_queue().events.push_back(e);
    if (!std::exchange(g_registry_may_be_readable, false))
        return;
    for (HWND hwnd : registry_take_foreground_requests())
        SetForegroundWindow(hwnd);
}

bool ready_now()
{
    return !message_queue().posted.empty() || message_queue().quit_requested || !input_queue().events.empty();
}

// Idle under test: let the test act, then jump to the next timer.
void idle_virtually(int timeout)
{
    if (seams().idle) {
        uint64_t before = device_clock().virtual_now;
        seams().idle();
        if (ready_now() || device_clock().virtual_now != before || ms_to_next_timer() == 0)
            return;
        for (Window* w : all_windows())
            if (w->has_update && w->visible && !w->minimized)
                return;
    }
    if (timeout < 0 || device_clock().virtual_now > kVirtualTimeLimitMs) {
        std::fprintf(stderr, "tickvane: the message loop has nothing left to wait for; ending it\n");
        message_queue().quit_requested = true;
        message_queue().quit_code = -1;
        return;
    }
    device_clock().virtual_now += (uint64_t)timeout;
}

void wait_for_something(int timeout)
{
    if (device_clock().virtual_time) {
        idle_virtually(timeout);
        g_registry_may_be_readable = true;
        return;
    }
    static thread_local std::vector<int> fds;  // no allocation on every wait
    fds.clear();
    if (int fd = registry_fd(); fd >= 0)
        fds.push_back(fd);
    g_registry_may_be_readable = compositor().display ? compositor().display->wait(timeout, fds)
                                                      : wait_on_fds(timeout, fds);
}

}  // namespace

bool next_message(MSG& out, HWND filter)
{
    // Input that acts at once (focus, rotation) may post messages or request the
    // quit; those are taken before any further input.
    do {
        if (take_posted(out, filter))
            return true;
        if (message_queue().quit_requested) {
            message_queue().quit_requested = false;
            out = MSG{nullptr, WM_QUIT, (WPARAM)(intptr_t)message_queue().quit_code, 0, (DWORD)now_ms(), {}};
            return true;
        }
        if (next_input_message(out))
            return true;
    } while (!message_queue().posted.empty() || message_queue().quit_requested);
    return take_paint(out, filter) || take_timer(out, filter);
}

}  // namespace tickvane::device

using namespace tickvane::device;

BOOL WINAPI GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    (void)filterMin;
    (void)filterMax;
    if (msg == nullptr)
        return -1;
    for (;;) {
        take_display_events();
        if (next_message(*msg, hwnd))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        present_screen();
        tickvane::text::keep_glyphs();  // once, after the first frame: the next start draws it without FreeType
        wait_for_something(ms_to_next_timer());
    }
}

LRESULT WINAPI SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* w = find_window(hwnd);
    return w == nullptr ? 0 : send(*w, msg, wParam, lParam);
}

BOOL WINAPI PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (hwnd != nullptr && !is_own_window(hwnd))
        return FALSE;
    message_queue().posted.push_back(MSG{hwnd, msg, wParam, lParam, (DWORD)now_ms(), {}});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode)
{
    message_queue().quit_requested = true;
    message_queue().quit_code = exitCode;
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    (void)msg;
    return FALSE;
}

LRESULT WINAPI DispatchMessageW(const MSG* msg)
{
    if (msg == nullptr)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        ((TIMERPROC)msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, (DWORD)now_ms());
        return 0;
    }
    Window* w = find_window(msg->hwnd);
    return w == nullptr ? 0 : send(*w, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SETTEXT:
        if (Window* w = find_window(hwnd))
            return default_text_message(*w, msg, wParam, lParam);
        return 0;
    case WM_NCACTIVATE:
        if (Window* w = find_window(hwnd))
            paint_frame(*w);
        return TRUE;
    case WM_ACTIVATE:
        // An activated window takes the keys, unless it is minimised.
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd))
            SetFocus(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        Window* w = find_window(hwnd);
        if (w == nullptr || w->background == nullptr)
            return 0;
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect((HDC)wParam, &client, w->background);
        return 1;
    }
    }
    return 0;
}
