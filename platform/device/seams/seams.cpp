// The seams of this process's device, empty until a test harness fills them.
#include "seams/seams.h"

#include "parts/part.h"

namespace tickvane::device {

namespace {

constinit parts::PartOf<Seams> g_seams;

}  // namespace

Seams& seams() { return g_seams.get(); }

}  // namespace tickvane::device
