// One Win32 program built twice, for our device and for Windows, that writes down what
// the platform does where the clock relies on it: the messages around a modal dialog
// and a message box, who is enabled and active afterwards, and BitBlt at a bitmap's
// edges. Run on the device and under Wine, the two logs are compared line by line.
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
    char line[200];
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
        FillRect(src, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dst, &all, red);
        DeleteObject(red);
        BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, SRCCOPY);
        std::string rows;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x)
                rows += GetPixel(dst, x, y) == RGB(0, 0, 0) ? '#' : '.';
            rows += y < 7 ? "/" : "";
        }
        note("copy %dx%d from (%d, %d) to (%d, %d): %s", c.w, c.h, c.sx, c.sy, c.x, c.y, rows.c_str());
    }
    DeleteDC(src);
    DeleteDC(dst);
    DeleteObject(src_bitmap);
    DeleteObject(dst_bitmap);
    ReleaseDC(s_main, screen);
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
    DestroyWindow(s_main);
    write_log();
    return 0;
}
