// Where a test harness may step in. Empty in the product: every seam defaults to
// what the device does on its own.
#pragma once

#include <functional>

namespace tickvane::device {

struct Seams {
    std::function<void()> idle;  // called whenever the message loop has nothing to do
};

Seams& seams();

}  // namespace tickvane::device
