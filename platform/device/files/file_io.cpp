// SetFilePointer, ReadFile, WriteFile and CloseHandle on the handles CreateFileW
// gives out.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

#include "files/file_table.h"
#include "files/host_errors.h"

using namespace tickvane::device;

namespace {

OpenFile* file_or_error(HANDLE handle)
{
    OpenFile* file = file_table().find(handle);
    if (file == nullptr)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

BOOL fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Where a move from `method`'s origin by `distance` lands; false with the error set
// when it does not.
bool target_position(int fd, int64_t distance, DWORD method, int64_t& target)
{
    int64_t origin = 0;
    if (method == FILE_CURRENT || method == FILE_END) {
        off_t here = lseek(fd, 0, method == FILE_CURRENT ? SEEK_CUR : SEEK_END);
        if (here < 0) {
            SetLastError(win32_error_from_errno(errno));
            return false;
        }
        origin = here;
    } else if (method != FILE_BEGIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (__builtin_add_overflow(origin, distance, &target)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return false;
    }
    return true;
}

}  // namespace

DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method)
{
    OpenFile* file = file_or_error(handle);
    if (file == nullptr)
        return INVALID_SET_FILE_POINTER;
    // Without a high part the distance is a signed 32-bit value.
    int64_t move = distanceHigh ? (int64_t)(((uint64_t)(uint32_t)*distanceHigh << 32) | (uint32_t)distance)
                                : (int64_t)distance;
    int64_t target = 0;
    if (!target_position(file->fd(), move, method, target))
        return INVALID_SET_FILE_POINTER;
    // A position that a 32-bit answer cannot carry needs the high part to come back in.
    if (!distanceHigh && target > (int64_t)UINT32_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(file->fd(), (off_t)target, SEEK_SET) < 0) {
        SetLastError(win32_error_from_errno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh)
        *distanceHigh = (LONG)(uint32_t)((uint64_t)target >> 32);
    DWORD low = (DWORD)((uint64_t)target & 0xFFFFFFFFu);
    // The one success that looks like failure says so through the last error.
    if (low == INVALID_SET_FILE_POINTER)
        SetLastError(ERROR_SUCCESS);
    return low;
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped)
{
    if (read != nullptr)
        *read = 0;
    OpenFile* file = file_or_error(handle);
    if (file == nullptr)
        return FALSE;
    // Overlapped I/O is not offered; without it Windows needs the count pointer.
    if (overlapped != nullptr || read == nullptr || (buffer == nullptr && toRead > 0))
        return fail(ERROR_INVALID_PARAMETER);
    if (!file->can_read())
        return fail(ERROR_ACCESS_DENIED);
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (*read < toRead) {
        ssize_t n = ::read(file->fd(), bytes + *read, toRead - *read);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(win32_error_from_errno(errno));
        if (n == 0)
            break;  // end of file: a short read that still succeeds
        *read += (DWORD)n;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (written != nullptr)
        *written = 0;
    OpenFile* file = file_or_error(handle);
    if (file == nullptr)
        return FALSE;
    if (overlapped != nullptr || written == nullptr || (buffer == nullptr && toWrite > 0))
        return fail(ERROR_INVALID_PARAMETER);
    if (!file->can_write())
        return fail(ERROR_ACCESS_DENIED);
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (*written < toWrite) {
        ssize_t n = ::write(file->fd(), bytes + *written, toWrite - *written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(win32_error_from_errno(errno));
        if (n == 0)
            return fail(ERROR_DISK_FULL);
        file->note_written();
        *written += (DWORD)n;
    }
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle)
{
    OpenFile file;
    if (!file_table().remove(handle, file))
        return fail(ERROR_INVALID_HANDLE);
    // The handle is gone either way, as on Windows; a failed flush is still reported.
    if (!file.close())
        return fail(win32_error_from_errno(errno));
    return TRUE;
}
