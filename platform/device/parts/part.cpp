// The list of the device's parts made so far, newest first.
#include "parts/part.h"

namespace tickvane::device::parts {

namespace {

constinit Part* g_made = nullptr;

}  // namespace

void Part::note_made()
{
    next_made_ = g_made;
    g_made = this;
}

void drop_all()
{
    while (Part* part = g_made) {
        g_made = part->next_made_;
        part->next_made_ = nullptr;
        part->destroy_(*part);
    }
}

}  // namespace tickvane::device::parts
