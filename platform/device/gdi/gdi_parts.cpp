// GDI's part of the device: the objects it has handed out.
#include "gdi/gdi_objects.h"
#include "parts/part.h"

namespace tickvane::device {

namespace {

constinit parts::PartOf<GdiObjects> g_gdi;

}  // namespace

GdiObjects& gdi_objects() { return g_gdi.get(); }

}  // namespace tickvane::device
