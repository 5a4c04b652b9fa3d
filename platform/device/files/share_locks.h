// Windows sharing modes, honoured across processes.
//
// Each open records what it does (reads, writes) and what it refuses others
// (reading, writing) as shared open-file-description locks on bytes far beyond any
// file data. Such locks belong to the open itself, not to the process, and vanish
// when its last descriptor closes, so a process that dies holding a file releases
// it. A short exclusive flock() on the same open serialises check-then-claim.
#pragma once

namespace tickvane::device {

struct ShareRequest {
    bool read = false;         // the open reads
    bool write = false;        // the open writes
    bool share_read = false;   // others may read meanwhile
    bool share_write = false;  // others may write meanwhile
};

enum class ShareResult { granted, violation, failed };

// Claims `request` for the open behind `fd` (which must be readable) against every
// other open of the same file, in this process or another. Unless granted, the
// caller closes `fd`, which drops any part of the claim already made.
ShareResult claim_share(int fd, const ShareRequest& request);

}  // namespace tickvane::device
