#include "handheld_root.h"

#include <shlobj.h>

namespace tickvane::win32 {
namespace {

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring file_name_of(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring full_path(const std::wstring& path)
{
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return L"";
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(length < needed ? length : 0);
    return full;
}

}  // namespace

std::wstring program_data_folder()
{
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return L"";
    return std::wstring(folder) + L"\\Tickvane";
}

std::wstring handheld_root()
{
    std::wstring folder = program_data_folder();
    return folder.empty() ? folder : folder + L"\\Handheld";
}

bool is_handheld_path(const wchar_t* path)
{
    return path != nullptr && is_separator(path[0]) && !is_separator(path[1]);
}

std::optional<std::wstring> desktop_path(const wchar_t* handheld_path)
{
    std::wstring root = handheld_root();
    if (root.empty() || !is_handheld_path(handheld_path))
        return std::nullopt;
    std::wstring full = full_path(root + handheld_path);
    // "\..\x" would name a file beside the root, not in it.
    if (full.size() <= root.size() + 1 ||
        CompareStringOrdinal(full.c_str(), (int)root.size(), root.c_str(), (int)root.size(), TRUE) != CSTR_EQUAL ||
        full[root.size()] != L'\\')
        return std::nullopt;
    return full;
}

std::wstring running_program()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (length == 0)
            return L"";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: a longer path
    }
}

bool same_file_name(const std::wstring& a, const std::wstring& b)
{
    std::wstring x = file_name_of(a), y = file_name_of(b);
    return !x.empty() && CompareStringOrdinal(x.c_str(), (int)x.size(), y.c_str(), (int)y.size(), TRUE) == CSTR_EQUAL;
}

std::wstring program_to_start(const wchar_t* path)
{
    if (!is_handheld_path(path))
        return path ? path : L"";
    std::wstring self = running_program();
    if (!self.empty() && same_file_name(path, self))
        return self;
    return desktop_path(path).value_or(L"");
}

}  // namespace tickvane::win32
