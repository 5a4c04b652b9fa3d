#include "screen/change_log.h"

#include <algorithm>

namespace tickvane::device {

void ChangeLog::note(const PixelRect& written)
{
    ++version_;
    if (written.empty())
        return;
    entries_.emplace_back(version_, written);
    if (entries_.size() >= 2 * kKept) {
        entries_.erase(entries_.begin(), entries_.begin() + kKept);
        known_after_ = entries_.front().first - 1;
    }
}

void ChangeLog::forget()
{
    ++version_;
    entries_.clear();
    known_after_ = version_;
}

bool ChangeLog::since(uint64_t version, std::vector<PixelRect>& out) const
{
    out.clear();
    if (version < known_after_ || version > version_)
        return false;
    auto first = std::upper_bound(entries_.begin(), entries_.end(), version,
                                  [](uint64_t v, const auto& entry) { return v < entry.first; });
    for (auto it = first; it != entries_.end(); ++it)
        if (std::find(out.begin(), out.end(), it->second) == out.end())
            out.push_back(it->second);
    return true;
}

uint64_t ContentId::fresh()
{
    static uint64_t next = 1ull << 32;  // far from the ids of shared pixels
    return ++next;
}

}  // namespace tickvane::device
