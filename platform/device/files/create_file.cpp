// CreateFileW: a device path opened with Windows' dispositions, access rights,
// sharing modes and last-error codes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "files/device_path.h"
#include "files/file_table.h"
#include "files/host_errors.h"
#include "files/share_locks.h"
#include "settings/device_settings.h"

namespace fs = std::filesystem;
using namespace tickvane::device;

namespace {

constexpr DWORD generic_all = 0x10000000;
constexpr DWORD file_share_delete = 0x00000004;

struct Request {
    ShareRequest share;
    DWORD disposition = 0;
};

bool parse_request(DWORD access, DWORD share_mode, DWORD disposition, Request& r)
{
    if ((share_mode & ~(DWORD)(FILE_SHARE_READ | FILE_SHARE_WRITE | file_share_delete)) != 0)
        return false;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING)
        return false;
    r.share.read = (access & (GENERIC_READ | generic_all)) != 0;
    r.share.write = (access & (GENERIC_WRITE | generic_all)) != 0;
    r.share.share_read = (share_mode & FILE_SHARE_READ) != 0;
    r.share.share_write = (share_mode & FILE_SHARE_WRITE) != 0;
    r.disposition = disposition;
    // Windows refuses to truncate through a handle that may not write.
    return disposition != TRUNCATE_EXISTING || r.share.write;
}

bool truncates(DWORD disposition) { return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING; }

struct Opened {
    int fd = -1;
    bool created = false;
    DWORD error = ERROR_SUCCESS;
};

// Opening and creating are separate steps so that we know which one happened (for
// ERROR_ALREADY_EXISTS); a file that appears or vanishes in between sends us round
// again. The descriptor is always readable, which the sharing locks need; O_NONBLOCK
// keeps a FIFO in the tree from blocking the open, and only regular files pass later.
Opened open_host(const fs::path& path, const Request& r)
{
    bool writes = r.share.write || truncates(r.disposition);
    // The path has its links resolved already: one appearing since is not followed.
    int flags = (writes ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    bool may_open = r.disposition != CREATE_NEW;
    bool may_create = r.disposition == CREATE_NEW || r.disposition == CREATE_ALWAYS || r.disposition == OPEN_ALWAYS;
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (may_open) {
            int fd = ::open(path.c_str(), flags);
            if (fd >= 0)
                return {fd, false};
            if (errno != ENOENT || !may_create)
                return {-1, false, win32_error_from_open(errno, path)};
        }
        int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0)
            return {fd, true};
        if (errno != EEXIST || !may_open)
            return {-1, false, win32_error_from_open(errno, path)};
    }
    return {-1, false, ERROR_ACCESS_DENIED};
}

bool is_regular_file(int fd)
{
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Everything after the open itself: kind of file, sharing, truncation. Returns the
// error, or ERROR_SUCCESS with `file` ready.
DWORD finish_open(const Opened& opened, const Request& r, OpenFile& file)
{
    if (!is_regular_file(opened.fd))
        return ERROR_ACCESS_DENIED;  // a folder, as Windows answers without backup semantics
    switch (claim_share(opened.fd, r.share)) {
    case ShareResult::granted:
        break;
    case ShareResult::violation:
        return ERROR_SHARING_VIOLATION;
    case ShareResult::failed:
        return ERROR_ACCESS_DENIED;  // the host would not lock the file
    }
    // Only now, with the sharing granted, may an existing file lose its contents.
    if (truncates(r.disposition) && !opened.created) {
        if (ftruncate(opened.fd, 0) != 0)
            return win32_error_from_errno(errno);
    }
    file = OpenFile(opened.fd, r.share.read, r.share.write);
    if (truncates(r.disposition))
        file.note_written();
    return ERROR_SUCCESS;
}

// The host file a request opens: a plain open finds the user's file, else the image's;
// whatever may write or create opens the user's. CREATE_NEW of a file the image holds
// fails on that file as on any existing one, and copies nothing.
std::optional<fs::path> file_for(const Settings& s, std::u16string_view name, const Request& r)
{
    auto found = readable_path(s.root, s.image, name);
    std::error_code ec;
    bool writes = r.share.write || r.disposition != OPEN_EXISTING;
    if (!writes || (r.disposition == CREATE_NEW && found && fs::exists(fs::symlink_status(*found, ec))))
        return found;
    return writable_path(s.root, s.image, name);
}

}  // namespace

HANDLE WINAPI CreateFileW(LPCWSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                          HANDLE)
{
    Request request;
    if (!parse_request(access, shareMode, disposition, request)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto named = name ? file_for(device_settings(), name, request) : std::nullopt;
    if (!named) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    // A link that leads out of the tree is no way in for writes or reads. Only what
    // file_for found in the installed image may end there: a read, or a CREATE_NEW
    // that fails on the existing file.
    const Settings& set_up = device_settings();
    bool in_image = !set_up.image.empty() && named->string().rfind(set_up.image + "/", 0) == 0;
    auto path = contained_path(*named, {in_image ? set_up.image : set_up.root});
    if (!path) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    Opened opened = open_host(*path, request);
    if (opened.fd < 0) {
        SetLastError(opened.error);
        return INVALID_HANDLE_VALUE;
    }
    OpenFile file;
    DWORD error = finish_open(opened, request, file);
    if (error != ERROR_SUCCESS) {
        ::close(opened.fd);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (opened.created)
        file.note_created(path->parent_path());
    bool existed = !opened.created && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    HANDLE handle = file_table().add(std::move(file));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}
