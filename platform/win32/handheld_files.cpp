// CreateFileW as the clock calls it: a path from the handheld's root opens the file in the
// user's handheld tree, whose folders are made when a file is to be created there. Any
// other path is the system's.
#include <shlobj.h>

#include "handheld_root.h"

#undef CreateFileW  // the system's own, which the header's name stands in for

using namespace tickvane::win32;

namespace {

bool may_create(DWORD disposition)
{
    return disposition == CREATE_ALWAYS || disposition == CREATE_NEW || disposition == OPEN_ALWAYS;
}

void make_folders_for(const std::wstring& file)
{
    std::wstring folder = file.substr(0, file.rfind(L'\\'));
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);  // a failure shows in the open
}

}  // namespace

HANDLE WINAPI HandheldCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (!is_handheld_path(path))
        return CreateFileW(path, access, share, security, disposition, flags, templateFile);
    std::optional<std::wstring> file = desktop_path(path);
    if (!file) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (may_create(disposition))
        make_folders_for(*file);
    return CreateFileW(file->c_str(), access, share, security, disposition, flags, templateFile);
}
