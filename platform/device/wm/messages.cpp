// The message queue: posted messages, then the quit request, then input, then
// paint, then timers, as Windows orders them. GetMessageW sleeps in between.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "gdi/gdi.h"
#include "text/text.h"
#include "time/clock.h"
#include "wm/event_wait.h"
#include "wm/input_queue.h"
#include "wm/message_queue.h"
#include "wm/window_manager.h"
#include "wm/window_tree.h"

namespace tickvane::device {

bool next_input_message(MSG& out);

namespace {

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
    Window* w = first_window([&](const Window& c) {
        if (!c.has_update || !c.visible || c.minimized || !matches(filter, c.handle))
            return false;
        Window* top = top_level_of(c.handle);
        return top != nullptr && top->visible && !top->minimized;
    });
    if (w == nullptr)
        return false;
    out = MSG{w->handle, WM_PAINT, 0, 0, (DWORD)now_ms(), {}};
    return true;
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

}  // namespace

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
        pump_events();
        if (next_message(*msg, hwnd))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        if (message_queue().present != nullptr)
            message_queue().present();
        tickvane::text::keep_glyphs();  // once, after the first frame: the next start draws it without FreeType
        wait_for_events(ms_to_next_timer());
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
    wake();
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode)
{
    message_queue().quit_requested = true;
    message_queue().quit_code = exitCode;
    wake();
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
