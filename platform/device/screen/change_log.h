// What was written into a bitmap, in order, so that a copy of it made earlier can be
// brought up to date by redoing only what changed since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/rect.h"

namespace tickvane::device {

class ChangeLog {
public:
    uint64_t version() const { return version_; }
    void note(const PixelRect& written);
    void forget();  // something was written where nobody said
    // The rectangles written after `version`, each once; false when that is no longer known.
    bool since(uint64_t version, std::vector<PixelRect>& out) const;

private:
    static constexpr size_t kKept = 256;
    uint64_t version_ = 1;
    uint64_t known_after_ = 1;  // every write after this version is in entries_
    std::vector<std::pair<uint64_t, PixelRect>> entries_;
};

// Who a bitmap's pixels are: a fresh identity for every bitmap that owns its pixels, one
// shared by all the bitmaps that borrow the same unchanging pixels. A copy of a bitmap
// owns its own pixels, so it is someone else.
class ContentId {
public:
    ContentId() : value_(fresh()) {}
    explicit ContentId(uint64_t shared) : value_(shared) {}
    ContentId(const ContentId&) : value_(fresh()) {}
    ContentId& operator=(const ContentId&)
    {
        value_ = fresh();
        return *this;
    }
    ContentId(ContentId&&) = default;
    ContentId& operator=(ContentId&&) = default;
    uint64_t value() const { return value_; }
    static uint64_t fresh();

private:
    uint64_t value_;
};

}  // namespace tickvane::device
