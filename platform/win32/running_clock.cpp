// FindWindowW as the clock calls it to find a clock that already runs: only a window of
// this program counts. Another program's window may carry the same title (a folder
// window of the install folder is titled "Tickvane"); the clock would otherwise bring
// that forward and end without ever showing.
#include "handheld_root.h"

#undef FindWindowW

using namespace tickvane::win32;

namespace {

std::wstring image_of_process(DWORD id)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr)
        return L"";
    wchar_t path[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    std::wstring image = QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size) : L"";
    CloseHandle(process);
    return image;
}

// A window of a copy of this program: the same executable's name, wherever it was
// installed, as the handheld runs one clock whatever started it.
bool of_this_program(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (id == GetCurrentProcessId())
        return true;
    std::wstring image = image_of_process(id);
    return !image.empty() && same_file_name(image, running_program());
}

}  // namespace

HWND WINAPI HandheldFindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, windowName)) != nullptr;)
        if (of_this_program(window))
            return window;
    SetLastError(ERROR_SUCCESS);
    return nullptr;
}
