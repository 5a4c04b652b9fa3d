// What a control keeps for its window lives on the heap, its pointer in the first
// extra bytes of the window (its class's cbWndExtra), as Windows' own controls do:
// made on WM_NCCREATE, freed on WM_NCDESTROY.
#pragma once

#include "win32.h"

namespace tickvane::device {

constexpr int kStateSlot = 0;
constexpr int kStateBytes = (int)sizeof(LONG_PTR);

// Null before WM_NCCREATE, after WM_NCDESTROY, and for a class without the bytes.
template <class T>
T* kept_state(HWND hwnd)
{
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, kStateSlot));
}

template <class T>
T* keep_new_state(HWND hwnd)
{
    auto* made = new T{};
    SetWindowLongPtrW(hwnd, kStateSlot, reinterpret_cast<LONG_PTR>(made));
    if (kept_state<T>(hwnd) == made)
        return made;
    delete made;  // no room: the window is of another class
    return nullptr;
}

// The slot is cleared first: a message sent while the state goes finds none.
template <class T>
void free_kept_state(HWND hwnd)
{
    delete reinterpret_cast<T*>(SetWindowLongPtrW(hwnd, kStateSlot, 0));
}

}  // namespace tickvane::device
