// The device's state for one process: windows, message queue, timers, GDI objects.
// Internal to platform/device; the program sees only the Win32 names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "win32.h"
#include "display/display.h"
#include "files/file_table.h"
#include "gdi/bitmap.h"

namespace tickvane::device {

struct Settings {
    std::string root;            // host folder that is the device's file tree
    int screen_width = 240;
    int screen_height = 320;
    std::string display = "";    // "window", "headless" or "" (window when reachable)
    int scale = 0;               // zoom of the desktop window; 0: as the monitor suits
    std::string screenshot;      // headless: PNG rewritten after every presented frame
};

struct WindowClass {
    std::u16string name;
    WNDCLASSW wc{};
};

struct Window {
    HWND handle = nullptr;
    std::u16string class_name;
    std::u16string title;
    WNDPROC proc = nullptr;
    UINT class_style = 0;
    HBRUSH background = nullptr;
    DWORD style = 0;
    HWND parent = nullptr;        // WS_CHILD windows
    HWND owner = nullptr;         // top-level windows owned by another (dialogs, boxes, drop-down lists)
    int id = 0;                   // a child's control id
    bool enabled = true;
    RECT rect{};                  // the client area, screen coordinates
    RECT frame{};                 // the whole window with caption and border; equals rect without them
    bool fills_work_area = false; // created with CW_USEDEFAULT: follows the screen's work area
    bool above_title_bar = false; // taller than the work area: shown over the title bar, caption first
    bool visible = false;
    bool minimized = false;
    bool destroying = false;
    bool has_update = false;      // update region, kept as its bounding rectangle
    RECT update{};                // client coordinates
    bool erase_pending = false;
    Bitmap surface;               // the window's pixels (top-level windows), caption and border included
    HFONT font = nullptr;         // set with WM_SETFONT by the dialog manager; controls draw with it
    std::vector<std::byte> extra; // the class's cbWndExtra bytes, zero at creation
    LONG_PTR user_data = 0;       // GWLP_USERDATA
};

// What the shell's input filter did with a tap or a key: left it to the windows, took
// it, or took it and made a message for a window in `out`.
enum class Filtered { Pass, Taken, Message };
using InputFilter = Filtered (*)(const display::Event& e, MSG& out);

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct DeviceContext {
    enum class Kind { Window, Memory } kind = Kind::Memory;
    HWND hwnd = nullptr;       // Window: whose pixels
    HBITMAP bitmap = nullptr;  // Memory: the selected bitmap
    HBITMAP default_bitmap = nullptr;
    HBRUSH brush = nullptr;
    RECT clip{};               // Window: client coordinates the DC may touch
};

struct Brush {
    COLORREF colour = 0;
    bool hollow = false;
};

using GdiObject = std::variant<Bitmap, Brush, DeviceContext>;

struct State {
    Settings settings;
    int screen_width = 240;
    int screen_height = 320;

    std::vector<WindowClass> classes;
    std::map<uintptr_t, std::unique_ptr<Window>> windows;  // by handle value
    std::vector<HWND> z_order;                             // top-level windows, bottom first
    uint32_t next_window = 1;
    HWND active = nullptr;
    HWND focus = nullptr;        // the window that receives keys: the active window or one of its children
    HWND capture = nullptr;      // receives pointer input wherever it happens
    HWND last_active = nullptr;  // to give activation back when the desktop window regains focus

    std::deque<MSG> posted;
    bool quit_requested = false;
    bool closing_all = false;    // the desktop window's close button: windows close one by one from the top
    int quit_code = 0;
    std::deque<display::Event> input;
    InputFilter input_filter = nullptr;  // sees taps and keys before the windows do
    HWND pointer_window = nullptr;
    bool shift_down = false;     // modifier state of the last key event, for GetKeyState
    bool alt_down = false;

    std::vector<Timer> timers;

    FileTable files;  // open file handles; dropping the state closes them

    std::unordered_map<uintptr_t, GdiObject> gdi;
    uintptr_t next_gdi = 0x10000;
    std::map<uintptr_t, uintptr_t> selected_in;  // bitmap -> memory DC holding it

    std::unique_ptr<display::Display> display;
    std::vector<uint32_t> screen;  // what the display shows now
    int shown_width = 0;
    int shown_height = 0;
    bool damaged = true;           // part of the screen may differ from what is shown
    RECT damage{};                 // screen coordinates; the whole screen when the layout changed

    // Tests run on virtual time and may watch the loop go idle.
    bool virtual_time = false;
    uint64_t virtual_now = 0;
    std::optional<SYSTEMTIME> pinned_time;
    std::function<void()> idle_hook;
};

State& state();

// Window lookup; null for handles that are not (or no longer) this process's windows.
Window* find_window(HWND hwnd);
Window* top_level_of(HWND hwnd);
uint64_t now_ms();

}  // namespace tickvane::device
