// SystemParametersInfoW: what the system tells about itself. The work area is the
// screen without the title bar and the soft-key bar.
#include "screen/screen.h"
#include "wm/window_tree.h"

BOOL WINAPI SystemParametersInfoW(UINT action, UINT, LPVOID pvParam, UINT)
{
    if (action != SPI_GETWORKAREA || pvParam == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<RECT*>(pvParam) = tickvane::device::work_area();
    return TRUE;
}
