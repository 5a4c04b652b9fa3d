// The device-wide list of top-level windows, shared by every process of one device
// (one file per window under <root>/.device/windows), and the way one process asks
// another to bring its window forward. Entries of processes that are gone are
// ignored and cleared, so a crash leaves nothing that fools a later FindWindowW.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "win32.h"

namespace tickvane::device {

struct WindowRegistry {
    std::filesystem::path folder;
    int socket_fd = -1;
    std::vector<HWND> own;
    int start_turn_fd = -1;  // held from the program's start until its window is listed
};

WindowRegistry& window_registry();

void registry_open(const std::string& device_root);
void registry_close();  // removes this process's entries
void registry_add(HWND hwnd, const std::u16string& class_name, const std::u16string& title);
void registry_remove(HWND hwnd);
// Another process's window matching the class and title (either may be null); null if none.
HWND registry_find_other(const char16_t* class_name, const char16_t* title);
bool registry_send_foreground(HWND hwnd);
std::vector<HWND> registry_take_foreground_requests();
int registry_fd();  // readable when a request is waiting; -1 when closed

}  // namespace tickvane::device
