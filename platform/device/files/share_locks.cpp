#include "files/share_locks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>

#include <cerrno>
#include <limits>

namespace tickvane::device {

namespace {

// One lock byte per fact, just below the largest offset, where no data ever is.
enum class Slot : off_t { reading = 1, writing = 2, refusing_read = 3, refusing_write = 4 };

constexpr off_t slot_base = std::numeric_limits<off_t>::max() - 8;

struct flock slot_lock(short type, Slot slot)
{
    struct flock l {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = slot_base + static_cast<off_t>(slot);
    l.l_len = 1;
    return l;
}

// Whether another open of the file has marked `slot`. A query that fails counts
// as marked: refusing an open is safer than sharing a file someone keeps to itself.
bool marked_by_others(int fd, Slot slot)
{
    struct flock l = slot_lock(F_WRLCK, slot);
    if (fcntl(fd, F_OFD_GETLK, &l) != 0)
        return true;
    return l.l_type != F_UNLCK;
}

bool mark(int fd, Slot slot)
{
    struct flock l = slot_lock(F_RDLCK, slot);
    return fcntl(fd, F_OFD_SETLK, &l) == 0;
}

// The gate is held only between a check and a claim, microseconds at a time; a
// holder that stopped dead (a stopped process) must not hang us: after about two
// seconds the file counts as in use.
ShareResult take_gate(int fd)
{
    constexpr int attempts = 2000;
    const timespec pause{0, 1000000};
    for (int i = 0; i < attempts; ++i) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0)
            return ShareResult::granted;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return ShareResult::failed;
        nanosleep(&pause, nullptr);
    }
    return ShareResult::violation;
}

bool conflicts(int fd, const ShareRequest& r)
{
    return (r.read && marked_by_others(fd, Slot::refusing_read)) ||
           (r.write && marked_by_others(fd, Slot::refusing_write)) ||
           (!r.share_read && marked_by_others(fd, Slot::reading)) ||
           (!r.share_write && marked_by_others(fd, Slot::writing));
}

bool mark_all(int fd, const ShareRequest& r)
{
    return (!r.read || mark(fd, Slot::reading)) && (!r.write || mark(fd, Slot::writing)) &&
           (r.share_read || mark(fd, Slot::refusing_read)) && (r.share_write || mark(fd, Slot::refusing_write));
}

}  // namespace

ShareResult claim_share(int fd, const ShareRequest& request)
{
    // As on Windows, an open that neither reads nor writes takes part in no sharing.
    if (!request.read && !request.write)
        return ShareResult::granted;
    ShareResult result = take_gate(fd);
    if (result != ShareResult::granted)
        return result;
    if (conflicts(fd, request))
        result = ShareResult::violation;
    else if (!mark_all(fd, request))
        result = ShareResult::failed;
    flock(fd, LOCK_UN);
    return result;
}

}  // namespace tickvane::device
