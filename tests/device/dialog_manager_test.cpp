// Modal dialogs and message boxes on the headless device, driven by taps and keys:
// layout in dialog units, the owner's disabling and activation, the modal loop's
// dispatching and ending, the keyboard interface, and MessageBoxW's answers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/message_box_layout.h"
#include "gdi/fonts.h"
#include "loop_script.h"
#include "message_sequence.h"
#include "resource.h"
#include "testing.h"
#include "win32.h"

namespace dt = tickvane::device::testing;
namespace dev = tickvane::device;

namespace {

using namespace tickvane::test;
int g_end_on = 0;                  // a command that ends the dialog with EndDialog
bool g_destroy_on_cancel = false;  // Cancel destroys the dialog instead of ending it

constexpr UINT kAnswerWith = WM_USER + 5;  // the dialog procedure answers wParam through DWLP_MSGRESULT

INT_PTR CALLBACK RecordingDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == kAnswerWith) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, (LONG_PTR)wParam);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    message_log().record(dialog, msg, wParam, lParam);
    if (LOWORD(wParam) == IDCANCEL && g_destroy_on_cancel)
        DestroyWindow(dialog);
    else if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, IDCANCEL);  // as the clock's dialog closes itself
    else if (g_end_on != 0 && LOWORD(wParam) == g_end_on)
        EndDialog(dialog, 1000 + g_end_on);
    return TRUE;
}

// A DLGTEMPLATE in memory, for layouts the clock's own template does not cover.
class TemplateBuilder {
public:
    TemplateBuilder(DWORD style, short cx, short cy, const std::u16string& title)
    {
        dword(style | DS_SETFONT), dword(0), words.push_back(0), words.push_back(0), words.push_back(0);
        words.push_back((uint16_t)cx), words.push_back((uint16_t)cy), words.push_back(0), words.push_back(0);
        text(title), words.push_back(8), text(u"MS Shell Dlg");
    }
    TemplateBuilder& item(uint16_t cls, int id, DWORD style, short x, short y, short cx, short cy,
                          const std::u16string& label)
    {
        if (words.size() % 2)
            words.push_back(0);  // items start on a DWORD
        dword(style | WS_CHILD | WS_VISIBLE), dword(0);
        for (short v : {x, y, cx, cy})
            words.push_back((uint16_t)v);
        words.push_back((uint16_t)id), words.push_back(0xFFFF), words.push_back(cls), text(label), words.push_back(0);
        ++words[4];
        return *this;
    }
    TemplateBuilder& at(short x, short y)
    {
        words[5] = (uint16_t)x, words[6] = (uint16_t)y;
        return *this;
    }
    LPCDLGTEMPLATEW get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words.data()); }

private:
    void dword(DWORD v) { words.push_back((uint16_t)(v & 0xFFFF)), words.push_back((uint16_t)(v >> 16)); }
    void text(const std::u16string& s)
    {
        words.insert(words.end(), s.begin(), s.end());
        words.push_back(0);
    }
    std::vector<uint16_t> words;
};

constexpr uint16_t kButton = 0x80, kStatic = 0x82, kComboBox = 0x85;

// Watches a dialog's last messages from outside, the way a subclass would.
WNDPROC g_dialog_proc = nullptr;
std::vector<LRESULT> g_default_ids;  // DM_GETDEFID at WM_DESTROY, then after DefDlgProcW's WM_NCDESTROY

LRESULT CALLBACK WatchingDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        g_default_ids.push_back(SendMessageW(dialog, DM_GETDEFID, 0, 0));
    LRESULT result = g_dialog_proc(dialog, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        g_default_ids.push_back(SendMessageW(dialog, DM_GETDEFID, 0, 0));
    return result;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        dt::reset();
        log.forget();
        g_end_on = 0;
        g_destroy_on_cancel = false;
        WNDCLASSW wc{};
        wc.lpfnWndProc = recording_proc;
        wc.lpszClassName = u"owner";
        ASSERT_NE(RegisterClassW(&wc), 0);
        owner = CreateWindowExW(0, u"owner", u"owner", WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, dt::instance(), nullptr);
        ShowWindow(owner, SW_SHOW);
        log.name(owner, "owner");
        log.clear();
    }
    // Runs `body` (which opens something modal) with `steps`; when they run out,
    // whatever is still open is closed with Escape.
    template <class Body>
    auto with_steps(const std::vector<Step>& steps, Body body)
    {
        decltype(body()) result{};
        run_script(
            steps, [] { dt::press_key(VK_ESCAPE); }, [&] { result = body(); });
        return result;
    }
    // One step, once the dialog is up.
    template <class Body>
    auto once_up(std::function<void()> act, Body body)
    {
        return with_steps({{dialog_up(), std::move(act)}}, body);
    }
    Until dialog_up() const
    {
        return until("a dialog in front of the owner", [this] { return dialog() != nullptr && dialog() != owner; });
    }
    // The commands the dialog procedure saw, in order.
    static ::testing::AssertionResult commands_are(std::vector<int> ids)
    {
        std::vector<Expect> expected;
        for (int id : ids)
            expected.push_back(command(nullptr, id, BN_CLICKED));
        return sequence_is(message_log().all(), {WM_COMMAND}, expected);
    }
    INT_PTR run_options_template()
    {
        HRSRC found = FindResourceW(dt::instance(), MAKEINTRESOURCEW(IDD_OPTION), RT_DIALOG);
        auto* tmpl = (LPCDLGTEMPLATEW)LockResource(LoadResource(dt::instance(), found));
        return DialogBoxIndirectParamW(dt::instance(), tmpl, owner, RecordingDlgProc, 0);
    }
    static HWND dialog() { return GetActiveWindow(); }
    static void tap_centre(HWND hwnd)
    {
        RECT r{};
        GetWindowRect(hwnd, &r);
        dt::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    HWND owner = nullptr;
    MessageLog& log = message_log();
};

}  // namespace

TEST_F(Dialogs, TheOptionTemplateIsLaidOutInDialogUnitsOfItsFont)
{
    dev::BaseUnits units = dev::base_units(dev::font_for_pixels(11));  // 8 points at 96 dpi
    auto px = [](int du, int base, int div) { return (du * base + div / 2) / div; };
    once_up(
        [&] {
            HWND d = dialog();
            RECT client{}, frame{}, area = dt::work_area();
            GetClientRect(d, &client);
            GetWindowRect(d, &frame);
            EXPECT_EQ(client.right, px(136, units.x, 4));
            EXPECT_EQ(client.bottom, px(108, units.y, 8));
            EXPECT_EQ(frame.left, area.left) << "template position 0, 0 is the work area's corner";
            EXPECT_EQ(frame.top, area.top);
            EXPECT_LE(frame.right, area.right) << "the dialog fits the handheld's screen";
            EXPECT_LE(frame.bottom, area.bottom);
            RECT apply{}, minutes{};
            GetWindowRect(GetDlgItem(d, IDOK), &apply);
            GetWindowRect(GetDlgItem(d, IDC_MINUTES), &minutes);
            int client_left = frame.right - 1 - client.right, client_top = frame.bottom - 1 - client.bottom;
            EXPECT_EQ(apply.left - client_left, px(7, units.x, 4));
            EXPECT_EQ(apply.top - client_top, px(87, units.y, 8));
            EXPECT_EQ(apply.right - apply.left, px(50, units.x, 4));
            EXPECT_EQ(apply.bottom - apply.top, px(14, units.y, 8));
            EXPECT_EQ(minutes.left - client_left, px(7, units.x, 4));
            EXPECT_LT(minutes.bottom - minutes.top, px(72, units.y, 8)) << "a closed list is one line high";
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDOK)) << "the first tab stop has the focus";
        },
        [&] { return run_options_template(); });
}

// The template's position is the client area's, from the owner's client area (or the
// screen, with DS_ABSALIGN); a frame that would leave the work area is moved onto it.
TEST_F(Dialogs, TheTemplatePositionPlacesTheClientAreaWithinTheWorkArea)
{
    RECT area = dt::work_area();
    POINT owner_origin{0, 0};
    ClientToScreen(owner, &owner_origin);
    dev::BaseUnits units = dev::base_units(dev::font_for_pixels(11));
    for (DWORD align : {DWORD{0}, DWORD{DS_ABSALIGN}}) {
        TemplateBuilder t(WS_POPUP | WS_CAPTION | align, 60, 40, u"placed");
        t.at(40, 16).item(kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 2, 2, 30, 10, u"Close");
        once_up(
            [&] {
                POINT client{0, 0};
                ClientToScreen(dialog(), &client);
                RECT frame{};
                GetWindowRect(dialog(), &frame);
                LONG x = align ? 0 : owner_origin.x, y = align ? 0 : owner_origin.y;
                EXPECT_EQ(client.x, x + 40 * units.x / 4);
                if (align == 0)
                    EXPECT_EQ(client.y, y + 16 * units.y / 8) << "the frame fits below the origin";
                else
                    EXPECT_EQ(frame.top, area.top) << "a frame above the work area is moved onto it";
                EXPECT_GE(frame.top, area.top);
            },
            [&] { return DialogBoxIndirectParamW(dt::instance(), t.get(), owner, RecordingDlgProc, 0); });
    }
}

// Turned to landscape the handheld's work area is lower than the options dialog: the
// dialog rises over the title bar and its buttons stay above the soft keys.
TEST_F(Dialogs, InLandscapeTheOptionsDialogKeepsItsButtonsAboveTheSoftKeys)
{
    dt::rotate();
    pump();
    RECT area = dt::work_area();
    ASSERT_GT(area.right, area.bottom) << "landscape";
    once_up(
        [&] {
            RECT frame{}, apply{};
            GetWindowRect(dialog(), &frame);
            GetWindowRect(GetDlgItem(dialog(), IDOK), &apply);
            EXPECT_LT(frame.top, area.top) << "the dialog is taller than the work area";
            EXPECT_GE(frame.top, 0);
            EXPECT_LE(frame.bottom, area.bottom);
            EXPECT_LE(apply.bottom, area.bottom) << "Apply is clear of the soft keys";
        },
        [&] { return run_options_template(); });
}

TEST_F(Dialogs, RepaintingTheDialogRepaintsItsControls)
{
    auto dark_in = [](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += dt::screen_pixel(x, y) < 0x404040;
        return n;
    };
    int before = 0;
    with_steps({{dialog_up(),
                 [&] {
                     before = dark_in(GetDlgItem(dialog(), IDOK));
                     ASSERT_GT(before, 20) << "the Apply button shows its text and frame";
                     InvalidateRect(dialog(), nullptr, TRUE);
                 }},
                {settled(), [&] { EXPECT_EQ(dark_in(GetDlgItem(dialog(), IDOK)), before); }}},
               [&] { return run_options_template(); });
}

TEST_F(Dialogs, TheOwnerWaitsDisabledAndGetsActivationBackWhenTheDialogEnds)
{
    SetTimer(owner, 7, 300, nullptr);
    INT_PTR result = with_steps({{dialog_up(),
                                  [&] {
                                      EXPECT_FALSE(IsWindowEnabled(owner));
                                      tap_centre(owner);  // a tap on the disabled owner goes nowhere
                                  }},
                                 {after_ms(600),
                                  [&] {
                                      EXPECT_NE(dialog(), owner) << "the dialog stays in front";
                                      EXPECT_GE(log.count(WM_TIMER, owner), 2u)
                                          << "the modal loop dispatches the owner's timer";
                                      tap_centre(GetDlgItem(dialog(), IDCANCEL));
                                  }}},
                                [&] { return run_options_template(); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(commands_are({IDCANCEL}));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    // The dialog took activation and gave it straight back, never passing it elsewhere.
    EXPECT_TRUE(sequence_is(log.to(owner), {WM_ACTIVATE, WM_LBUTTONDOWN},
                            {{owner, WM_ACTIVATE, WA_INACTIVE}, {owner, WM_ACTIVATE, WA_ACTIVE}}));
}

// As on Windows, only EndDialog gives the owner back: a program that destroys its modal
// dialog instead is left with a disabled window, and its loop ends with 0.
TEST_F(Dialogs, ADialogThatDestroysItselfLeavesItsOwnerDisabled)
{
    g_destroy_on_cancel = true;
    INT_PTR result = once_up([&] { tap_centre(GetDlgItem(dialog(), IDCANCEL)); },
                             [&] { return run_options_template(); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(commands_are({IDCANCEL}));
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_TRUE(sequence_is(log.to(owner), {WM_ACTIVATE}, {{owner, WM_ACTIVATE, WA_INACTIVE}}))
        << "activation left with the dialog and stays away";
}

INT_PTR CALLBACK EndingAtOnceDlgProc(HWND dialog, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG)
        EndDialog(dialog, 42);
    return msg == WM_INITDIALOG;
}

// A dialog ended while it starts is never shown: it returns its result at once, and its
// owner stays enabled and active.
TEST_F(Dialogs, ADialogEndedFromWmInitDialogReturnsAtOnceAndLeavesItsOwnerAlone)
{
    TemplateBuilder t(WS_POPUP | WS_CAPTION, 80, 40, u"");
    EXPECT_EQ(DialogBoxIndirectParamW(dt::instance(), t.get(), owner, EndingAtOnceDlgProc, 0), 42);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(log.count(WM_ACTIVATE, owner), 0u) << "activation never left the owner";
}

TEST_F(Dialogs, EndDialogReturnsItsResultAndAQuitEndsTheLoopAndIsPassedOn)
{
    g_end_on = IDOK;
    INT_PTR ended = once_up([] { dt::press_key(VK_RETURN); }, [&] { return run_options_template(); });
    EXPECT_EQ(ended, 1000 + IDOK) << "Enter pressed the default button";

    once_up([] { PostQuitMessage(5); }, [&] { return run_options_template(); });
    MSG msg{};
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE) << "the quit reaches the loop outside";
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(Dialogs, TabStopsEnterEscapeAndTheCloseBox)
{
    TemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU, 150, 80, u"keys");
    t.item(kButton, 11, WS_TABSTOP | BS_PUSHBUTTON, 5, 5, 40, 14, u"first")
        .item(kStatic, -1, WS_GROUP, 5, 25, 40, 8, u"label")
        .item(kButton, 12, WS_TABSTOP | WS_DISABLED, 50, 5, 40, 14, u"off")
        .item(kButton, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 5, 60, 40, 14, u"OK")
        .item(kButton, IDCANCEL, WS_TABSTOP, 50, 60, 40, 14, u"Cancel");
    auto run = [&] { return DialogBoxIndirectParamW(dt::instance(), t.get(), owner, RecordingDlgProc, 0); };
    std::vector<HWND> focus;
    Until moved = until("the focus to move", [&] { return GetFocus() != focus.back(); });
    auto note_then = [&](std::function<void()> keys) {
        return [&focus, keys] { focus.push_back(GetFocus()), keys(); };
    };
    auto tab = [](bool shift) { return [shift] { dt::press_key(VK_TAB, shift); }; };
    with_steps({{dialog_up(), note_then(tab(false))},
                {moved, note_then(tab(false))},
                {moved, note_then(tab(false))},  // wraps round to the first
                {moved, note_then(tab(true))},
                {moved, note_then([] {
                     dt::press_key(VK_TAB, true);
                     dt::press_key(VK_RETURN);  // OK has the focus again: presses OK
                     dt::press_key(VK_TAB, true);
                     dt::press_key(VK_RETURN);  // "first" has the focus: presses it, not the default
                 })}},
               run);
    // Three tab stops are enabled: "first", OK, Cancel; the label and the disabled button are skipped.
    ASSERT_EQ(focus.size(), 5u);
    EXPECT_NE(focus[0], nullptr);
    EXPECT_EQ(focus[3], focus[0]) << "Tab wraps round";
    EXPECT_EQ(focus[4], focus[2]) << "Shift+Tab goes back";
    EXPECT_TRUE(commands_are({IDOK, 11, IDCANCEL})) << "Escape is Cancel";

    log.clear();
    once_up(
        [&] {
            RECT frame{};
            GetWindowRect(dialog(), &frame);
            dt::tap(frame.right - 10, frame.top + 10);  // the caption's close box
        },
        run);
    EXPECT_TRUE(commands_are({IDCANCEL})) << "the close box is Cancel";
}

TEST_F(Dialogs, MessageBoxesAnswerAsOnWindows)
{
    auto ask = [&](UINT type, std::function<void()> act) {
        return once_up(std::move(act), [&] { return MessageBoxW(owner, u"終了しますか？", u"確認", type); });
    };
    EXPECT_EQ(ask(MB_OKCANCEL | MB_ICONQUESTION, [] { dt::press_key(VK_RETURN); }), IDOK);
    EXPECT_EQ(ask(MB_OKCANCEL, [] { dt::press_key(VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(ask(MB_OK, [] { dt::press_key(VK_ESCAPE); }), IDOK) << "a box with only OK takes Escape as OK";
    EXPECT_EQ(ask(MB_OKCANCEL,
                  [] {
                      dt::press_key(VK_TAB);
                      dt::press_key(VK_RETURN);
                  }),
              IDCANCEL);
    EXPECT_EQ(ask(MB_OKCANCEL,
                  [&] {
                      HWND box = dialog();
                      EXPECT_FALSE(IsWindowEnabled(owner));
                      RECT frame{}, area = dt::work_area();
                      GetWindowRect(box, &frame);
                      EXPECT_GE(frame.left, area.left);
                      EXPECT_LE(frame.right, area.right);
                      EXPECT_NEAR(frame.left - area.left, area.right - frame.right, 1) << "centred";
                      tap_centre(GetDlgItem(box, IDCANCEL));
                  }),
              IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(MessageBoxW((HWND)(uintptr_t)0x1234, u"x", u"y", MB_OK), 0) << "no such owner";
    EXPECT_EQ(once_up([] { dt::press_key(VK_RETURN); }, [] { return MessageBoxW(nullptr, nullptr, nullptr, MB_OK); }),
              IDOK)
        << "no owner, no text, no caption";
}

TEST(MessageBoxLayout, ALongTextWrapsInsideTheScreenAndButtonsFitTheBox)
{
    dt::reset();
    dev::BoxLayout box = dev::lay_out_box(u"０分０秒は設定できません。０分０秒は設定できません。", MB_OK, 150);
    EXPECT_LE(box.width, 150);
    ASSERT_GT(box.lines.size(), 1u) << "Japanese breaks between characters";
    std::u16string joined;
    for (const auto& l : box.lines)
        joined += l;
    EXPECT_EQ(joined, u"０分０秒は設定できません。０分０秒は設定できません。") << "nothing lost or doubled";
    EXPECT_GE(box.height, (int)box.lines.size() * box.line_height) << "every line has its room";

    box = dev::lay_out_box(u"終了しますか？", MB_OKCANCEL | MB_ICONQUESTION, 200);
    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].label, u"OK");
    EXPECT_EQ(box.buttons[1].label, u"キャンセル");
    EXPECT_EQ(box.default_index, 0);
    EXPECT_LE(box.buttons[1].rect.right, box.width);
    EXPECT_LE(box.buttons[0].rect.right, box.buttons[1].rect.left);
    EXPECT_TRUE(box.icon);
    EXPECT_LE(box.icon_rect.right, box.text_left);
    EXPECT_EQ(dev::lay_out_box(u"x", MB_OKCANCEL | 0x100, 200).default_index, 1) << "MB_DEFBUTTON2";
}

// A dialog keeps its procedure, its answer and its user's data in its window's extra
// bytes, at the offsets Windows gives them, and its own record lives until WM_NCDESTROY.
TEST_F(Dialogs, ADialogKeepsItsFieldsInItsWindowAndItsRecordUntilNcDestroy)
{
    g_default_ids.clear();
    with_steps({{dialog_up(),
                 [&] {
                     HWND d = dialog();
                     EXPECT_EQ(GetWindowLongPtrW(d, DWLP_DLGPROC), (LONG_PTR)RecordingDlgProc);
                     SetWindowLongPtrW(d, DWLP_USER, 0x5A5A);
                     EXPECT_EQ(GetWindowLongPtrW(d, DWLP_USER), 0x5A5A);
                     EXPECT_EQ(SendMessageW(d, kAnswerWith, 42, 0), 42) << "a handled message answers DWLP_MSGRESULT";
                     EXPECT_EQ(SendMessageW(d, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
                     g_dialog_proc = (WNDPROC)SetWindowLongPtrW(d, GWLP_WNDPROC, (LONG_PTR)WatchingDialogProc);
                     g_destroy_on_cancel = true;
                     dt::press_key(VK_ESCAPE);
                 }}},
               [&] { return run_options_template(); });
    EXPECT_EQ(g_default_ids, (std::vector<LRESULT>{MAKELONG(IDOK, DC_HASDEFID), 0}))
        << "the record answers until WM_NCDESTROY and is gone after it";
}

// The default-button look follows the focus: a push button with the focus looks like
// the default, any other control gives the look back to the dialog's default button.
TEST_F(Dialogs, TheDefaultButtonLookFollowsTheFocus)
{
    TemplateBuilder t(WS_POPUP | WS_CAPTION, 150, 80, u"looks");
    t.item(kButton, 11, WS_TABSTOP | BS_PUSHBUTTON, 5, 5, 40, 14, u"first")
        .item(kComboBox, 20, WS_TABSTOP | CBS_DROPDOWNLIST, 5, 25, 60, 40, u"")
        .item(kButton, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 5, 60, 40, 14, u"OK")
        .item(kButton, IDCANCEL, WS_TABSTOP, 50, 60, 40, 14, u"Cancel");
    struct Case {
        const char* focus;  // where the focus is at this step
        int looks_default;
    };
    const std::vector<Case> cases = {
        {"first", 11}, {"the list", IDOK}, {"OK", IDOK}, {"Cancel", IDCANCEL}, {"first again", 11}};
    std::vector<Step> steps;
    for (const Case& c : cases)
        steps.push_back({steps.empty() ? dialog_up() : settled(), [c] {
                             for (int id : {11, IDOK, IDCANCEL}) {
                                 bool looks = SendDlgItemMessageW(dialog(), id, WM_GETDLGCODE, 0, 0) &
                                              DLGC_DEFPUSHBUTTON;
                                 EXPECT_EQ(looks, id == c.looks_default) << "focus on " << c.focus << ", button " << id;
                             }
                             dt::press_key(VK_TAB);
                         }});
    with_steps(steps, [&] { return DialogBoxIndirectParamW(dt::instance(), t.get(), owner, RecordingDlgProc, 0); });
}
