// Modal dialogs: the owner is disabled while the dialog runs its own message loop,
// which keeps dispatching every window's messages (the owner's timers included).
#include <cstring>

#include "dialogs/dialogs.h"
#include "res/resources.h"
#include "wm/window_manager.h"
#include "wm/window_queries.h"

namespace tickvane::device {

namespace {

// A template handed over by pointer carries no size: within the program's resources
// the resource bounds it; a caller's own template in memory is taken at its word.
constexpr size_t kUnboundedTemplate = 0x10000;

size_t template_bound(const void* at)
{
    auto* p = static_cast<const uint8_t*>(at);
    for (const ResEntry& e : resources_of(program_instance()))
        if (p >= e.data && p < e.data + e.size)
            return (size_t)(e.data + e.size - p);
    return kUnboundedTemplate;
}

// A dialog destroyed without EndDialog ends its loop too: its record went with it.
bool still_running(HWND dialog)
{
    DialogRecord* r = dialog_record(dialog);
    return r != nullptr && !r->ended;
}

}  // namespace

INT_PTR run_modal(HWND dialog, HWND owner)
{
    DialogRecord* r = dialog_record(dialog);
    if (r == nullptr)
        return -1;
    // Ended already (EndDialog from WM_INITDIALOG): never shown, its owner never disabled.
    if (owner != nullptr && IsWindowEnabled(owner) && !r->ended) {
        r->disabled_owner = owner;
        EnableWindow(owner, FALSE);
    }
    if (!r->ended) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
    }
    MSG msg{};
    bool quit = false;
    while (still_running(dialog)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = true;  // the loop outside must see the quit too
            break;
        }
        if (!is_dialog_message(dialog, msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // Gone without EndDialog, it answers 0 and leaves its owner disabled, as on Windows.
    INT_PTR result = 0;
    if ((r = dialog_record(dialog)) != nullptr) {
        result = r->result;
        DestroyWindow(dialog);
    }
    if (quit)
        PostQuitMessage((int)msg.wParam);
    return result;
}

}  // namespace tickvane::device

using namespace tickvane::device;

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                       DLGPROC dialogProc, LPARAM initParam)
{
    if (dialogTemplate == nullptr || (owner != nullptr && !IsWindow(owner)))
        return -1;
    auto t = parse_dialog_template(reinterpret_cast<const uint8_t*>(dialogTemplate), template_bound(dialogTemplate));
    if (!t)
        return -1;
    HWND modal_owner = owner != nullptr ? top_level_window(owner) : nullptr;
    HWND dialog = create_dialog(*t, instance, modal_owner, dialogProc, initParam);
    if (dialog == nullptr)
        return -1;
    return run_modal(dialog, modal_owner);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    DialogRecord* r = dialog_record(dialog);
    if (r == nullptr)
        return FALSE;
    r->ended = true;
    r->result = result;
    // The owner is enabled before the dialog hides, so that activation goes back to it.
    if (HWND owner = r->disabled_owner) {
        r->disabled_owner = nullptr;
        EnableWindow(owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}
