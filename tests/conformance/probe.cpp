// One Win32 program built twice, for our device and for Windows, that writes down what
// the platform does where the clock relies on it: the messages around a modal dialog
// and a message box, who is enabled and active afterwards, BitBlt and FillRect at the
// edges of bitmaps and windows, window rectangles after SetWindowPos, and dialogs placed
// off the screen. Run on the device and under Wine, the two logs are compared line by line.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "resource.h"
#include "win32.h"

namespace {

HINSTANCE s_instance;
HWND s_main;
std::string s_log;
enum class Ending { end_dialog, destroy_window } s_ending;

void note(const char* format, ...) __attribute__((format(printf, 1, 2)));
void note(const char* format, ...)
{
    char line[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    s_log += line;
    s_log += '\n';
}

const char* who(HWND hwnd)
{
    if (hwnd == nullptr)
        return "none";
    return hwnd == s_main ? "main" : "other";
}

const UINT_PTR kCloseTimer = 7;

// Where the options dialog's controls land, in the dialog's client coordinates: the
// dialog font's base units decide it, so the two platforms' fonts show here.
void note_layout(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    note("layout: dialog client %dx%d", (int)client.right, (int)client.bottom);
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    for (int id : {IDOK, IDCANCEL, IDC_MINUTES, IDC_SECONDS}) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, id), &r);
        note("layout: control %d at %d,%d size %dx%d", id, (int)(r.left - origin.x), (int)(r.top - origin.y),
             (int)(r.right - r.left), (int)(r.bottom - r.top));
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        note("dialog: WM_INITDIALOG, main enabled %d", IsWindowEnabled(s_main) ? 1 : 0);
        SetTimer(dialog, kCloseTimer, 100, nullptr);
        return TRUE;
    case WM_TIMER:
        KillTimer(dialog, kCloseTimer);
        note_layout(dialog);
        note("dialog: closing, active is the dialog %d", GetActiveWindow() == dialog ? 1 : 0);
        if (s_ending == Ending::end_dialog)
            EndDialog(dialog, IDCANCEL);
        else
            DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        note("dialog: WM_DESTROY");
        return FALSE;
    }
    (void)wParam;
    return FALSE;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        note("%s: WM_ACTIVATE %s, other window %s", who(hwnd), LOWORD(wParam) == WA_INACTIVE ? "inactive" : "active",
             lParam == 0 ? "none" : who((HWND)lParam));
        break;
    case WM_ENABLE:
        note("%s: WM_ENABLE %d", who(hwnd), (int)wParam);
        break;
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            KillTimer(hwnd, kCloseTimer);
            HWND box = GetActiveWindow();
            note("main: timer under the box, box active %d", box != nullptr && box != hwnd ? 1 : 0);
            SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void note_afterwards(const char* what, INT_PTR result)
{
    note("%s returned %d; main enabled %d, active %s, focus %s", what, (int)result, IsWindowEnabled(s_main) ? 1 : 0,
         who(GetActiveWindow()), who(GetFocus()));
}

void run_dialog(Ending ending)
{
    s_ending = ending;
    note("-- options dialog ended with %s", ending == Ending::end_dialog ? "EndDialog" : "DestroyWindow");
    HRSRC found = FindResourceW(s_instance, MAKEINTRESOURCEW(IDD_OPTION), MAKEINTRESOURCEW(5));
    HGLOBAL loaded = LoadResource(s_instance, found);
    auto* dialog = (LPCDLGTEMPLATEW)LockResource(loaded);
    INT_PTR result = DialogBoxIndirectParamW(s_instance, dialog, s_main, DialogProc, 0);
    note_afterwards("DialogBoxIndirectParamW", result);
    if (!IsWindowEnabled(s_main))
        EnableWindow(s_main, TRUE);  // the next scenario starts from an enabled window
    SetActiveWindow(s_main);
}

void run_message_box()
{
    note("-- message box ended with Cancel");
    SetTimer(s_main, kCloseTimer, 100, nullptr);
    int answer = MessageBoxW(s_main, TEXT("終了しますか？"), TEXT("確認"), MB_OKCANCEL | MB_ICONQUESTION);
    note_afterwards("MessageBoxW", answer);
}

// What the clock takes for a switch to another program: another top-level window shown
// over it; and where activation goes when that window goes away.
void run_other_window()
{
    note("-- another window comes forward and goes");
    HWND other = CreateWindowExW(0, TEXT("conformance"), TEXT("other"), WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, s_instance, nullptr);
    ShowWindow(other, SW_SHOWNORMAL);
    note("shown: active %s", who(GetActiveWindow()));
    DestroyWindow(other);
    note("destroyed: active %s", who(GetActiveWindow()));
}

HBRUSH black() { return (HBRUSH)GetStockObject(BLACK_BRUSH); }

// The top-left side x side pixels of a DC, a row at a time: '#' black, '.' anything else.
std::string pixel_rows(HDC dc, int side)
{
    std::string rows;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            rows += GetPixel(dc, x, y) == RGB(0, 0, 0) ? '#' : '.';
        rows += y < side - 1 ? "/" : "";
    }
    return rows;
}

// A 4 x 4 source copied with rectangles that reach past its edges onto a red target:
// which target pixels the copy wrote.
void run_edges()
{
    note("-- BitBlt at a bitmap's edges");
    HDC screen = GetDC(s_main);
    HDC src = CreateCompatibleDC(screen), dst = CreateCompatibleDC(screen);
    HBITMAP src_bitmap = CreateCompatibleBitmap(screen, 4, 4), dst_bitmap = CreateCompatibleBitmap(screen, 8, 8);
    SelectObject(src, src_bitmap);
    SelectObject(dst, dst_bitmap);
    RECT all = {0, 0, 8, 8};
    const struct {
        int x, y, w, h, sx, sy;
    } copies[] = {{2, 2, 6, 6, 1, 1}, {2, 2, 4, 4, -2, -1}, {0, 0, 8, 8, 3, 3}};
    for (const auto& c : copies) {
        FillRect(src, &all, black());
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dst, &all, red);
        DeleteObject(red);
        BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, SRCCOPY);
        note("copy %dx%d from (%d, %d) to (%d, %d): %s", c.w, c.h, c.sx, c.sy, c.x, c.y, pixel_rows(dst, 8).c_str());
    }
    DeleteDC(src);
    DeleteDC(dst);
    DeleteObject(src_bitmap);
    DeleteObject(dst_bitmap);
    ReleaseDC(s_main, screen);
}

// A child window 6 x 6 at (4, 4) in the main window, drawn on through its DC (or the
// main window's) with rectangles that reach past its edges and start left of and above
// its origin: which pixels of the main window's top-left corner turned black.
void run_window_clipping()
{
    note("-- FillRect and BitBlt on a window's DC");
    HWND child = CreateWindowExW(0, TEXT("conformance"), TEXT(""), WS_CHILD | WS_VISIBLE, 4, 4, 6, 6, s_main, nullptr,
                                 s_instance, nullptr);
    HDC main_dc = GetDC(s_main), child_dc = GetDC(child);
    HDC src = CreateCompatibleDC(main_dc);
    HBITMAP src_bitmap = CreateCompatibleBitmap(main_dc, 4, 4);
    SelectObject(src, src_bitmap);
    RECT four = {0, 0, 4, 4}, corner = {0, 0, 14, 14};
    FillRect(src, &four, black());
    const struct {
        bool on_child, copy;
        RECT r;  // a fill's rectangle, or a copy's target origin and size
        int sx, sy;
    } draws[] = {{true, false, {-3, -3, 3, 3}, 0, 0},  {true, false, {4, 4, 20, 20}, 0, 0},
                 {true, false, {-10, 2, 30, 3}, 0, 0}, {false, false, {-5, -5, 2, 2}, 0, 0},
                 {true, true, {-2, -2, 4, 4}, 0, 0},   {true, true, {4, 3, 4, 4}, 0, 0},
                 {true, true, {1, 1, 4, 4}, -2, -2}};
    for (const auto& d : draws) {
        FillRect(main_dc, &corner, (HBRUSH)GetStockObject(WHITE_BRUSH));
        HDC dc = d.on_child ? child_dc : main_dc;
        if (d.copy)
            BitBlt(dc, d.r.left, d.r.top, d.r.right, d.r.bottom, src, d.sx, d.sy, SRCCOPY);
        else
            FillRect(dc, &d.r, black());
        note("%s on the %s's DC at (%d, %d) %s (%d, %d), source at (%d, %d): %s", d.copy ? "copy" : "fill",
             d.on_child ? "child" : "main window", (int)d.r.left, (int)d.r.top, d.copy ? "size" : "to", (int)d.r.right,
             (int)d.r.bottom, d.sx, d.sy, pixel_rows(main_dc, 14).c_str());
    }
    note("a window DC's HORZRES is SM_CXSCREEN %d, VERTRES SM_CYSCREEN %d",
         GetDeviceCaps(child_dc, HORZRES) == GetSystemMetrics(SM_CXSCREEN) ? 1 : 0,
         GetDeviceCaps(child_dc, VERTRES) == GetSystemMetrics(SM_CYSCREEN) ? 1 : 0);
    DeleteDC(src);
    DeleteObject(src_bitmap);
    ReleaseDC(child, child_dc);
    ReleaseDC(s_main, main_dc);
    DestroyWindow(child);
}

// What a window placed with SetWindowPos hears of it.
LRESULT CALLBACK PlacedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE)
        note("  WM_SIZE %dx%d", (int)LOWORD(lParam), (int)(short)HIWORD(lParam));
    else if (message == WM_MOVE)
        note("  WM_MOVE %d,%d", (int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void note_rects(const char* what, HWND hwnd)
{
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    note("%s: window %d,%d to %d,%d, client %dx%d", what, (int)window.left, (int)window.top, (int)window.right,
         (int)window.bottom, (int)client.right, (int)client.bottom);
}

// A hidden top-level window without a frame, one with a border, and a child of the first,
// moved and sized: their rectangles in screen coordinates, and the messages they hear.
void run_window_rects()
{
    note("-- window rectangles after SetWindowPos");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlacedProc;
    wc.hInstance = s_instance;
    wc.lpszClassName = TEXT("placed");
    RegisterClassW(&wc);
    HWND popup = CreateWindowExW(0, TEXT("placed"), TEXT(""), WS_POPUP, 10, 20, 100, 80, nullptr, nullptr, s_instance,
                                 nullptr);
    HWND bordered = CreateWindowExW(0, TEXT("placed"), TEXT(""), WS_POPUP | WS_BORDER, 10, 20, 100, 80, nullptr,
                                    nullptr, s_instance, nullptr);
    HWND child = CreateWindowExW(0, TEXT("placed"), TEXT(""), WS_CHILD, 5, 6, 30, 40, popup, nullptr, s_instance,
                                 nullptr);
    note_rects("popup made", popup);
    note_rects("bordered made", bordered);
    note_rects("child made", child);
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    const struct {
        const char* what;
        HWND hwnd;
        int x, y, cx, cy;
        UINT flags;
    } moves[] = {{"popup", popup, 30, 40, 50, 60, keep},
                 {"popup", popup, 0, 0, 70, 30, keep | SWP_NOMOVE},
                 {"popup", popup, -10, -5, 0, 0, keep | SWP_NOSIZE},
                 {"child", child, -4, 8, 12, 10, keep},
                 {"child", child, 20, 25, 0, 0, keep | SWP_NOSIZE},
                 {"child", child, 0, 0, 0, 0, keep | SWP_NOMOVE},
                 {"popup", popup, 50, 60, 0, 0, keep | SWP_NOSIZE},
                 {"bordered", bordered, 40, 30, 20, 10, keep}};
    for (const auto& m : moves) {
        note("%s to %d,%d size %dx%d%s%s", m.what, m.x, m.y, m.cx, m.cy, m.flags & SWP_NOMOVE ? " (no move)" : "",
             m.flags & SWP_NOSIZE ? " (no size)" : "");
        SetWindowPos(m.hwnd, nullptr, m.x, m.y, m.cx, m.cy, m.flags);
        note_rects(m.what, m.hwnd);
        if (m.hwnd == popup)
            note_rects("  its child", child);
    }
    DestroyWindow(popup);
    DestroyWindow(bordered);
}

INT_PTR CALLBACK PlacedDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        RECT at, area;
        GetWindowRect(dialog, &at);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        bool inside = at.left >= area.left && at.top >= area.top && at.right <= area.right && at.bottom <= area.bottom;
        note("dialog inside the work area %d, size kept %d", inside ? 1 : 0,
             at.right - at.left > 0 && at.bottom - at.top > 0 ? 1 : 0);
        EndDialog(dialog, IDOK);
    }
    return FALSE;  // no focus given: it would activate the dialog that never shows
}

// Dialogs whose templates place them far past each side of the screen, ended before
// they show.
void run_placed_dialogs()
{
    note("-- dialogs placed off the screen");
    for (int at : {-3000, 3000}) {
        note("template at %d,%d", at, at);
        alignas(4) WORD words[16] = {};
        auto* t = (DLGTEMPLATE*)words;
        t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_ABSALIGN;
        t->x = t->y = (short)at;
        t->cx = 80;
        t->cy = 40;  // then no menu, the default class and an empty title: zero words
        DialogBoxIndirectParamW(s_instance, t, nullptr, PlacedDialogProc, 0);
    }
}

void write_log()
{
    HANDLE file = CreateFileW(TEXT("\\conformance-log.txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, s_log.data(), (DWORD)s_log.size(), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    s_instance = instance;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = TEXT("conformance");
    RegisterClassW(&wc);
    note("-- start");
    s_main = CreateWindowExW(0, TEXT("conformance"), TEXT("conformance"), WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    ShowWindow(s_main, show);
    UpdateWindow(s_main);
    note_afterwards("ShowWindow", 0);
    run_dialog(Ending::end_dialog);
    run_dialog(Ending::destroy_window);
    run_message_box();
    run_other_window();
    run_edges();
    run_window_clipping();
    run_window_rects();
    run_placed_dialogs();
    DestroyWindow(s_main);
    write_log();
    return 0;
}
