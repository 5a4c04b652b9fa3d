// A private Xvfb for one test (the server picks a free display number) and a second X
// connection that looks at the window from outside. Xlib stays in the .cpp: its
// `Display` would clash with the device's.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tickvane::display::testing {

class X11Session {
public:
    // Null with `why_not` set when Xvfb is missing or does not come up. `server_args` go to
    // Xvfb as they are (e.g. "-extension", "MIT-SHM"); `own_ipc_namespace` puts the server
    // where it cannot see our shared memory, as a server on another machine.
    static std::unique_ptr<X11Session> start(int depth, std::string* why_not,
                                             const std::vector<std::string>& server_args = {},
                                             bool own_ipc_namespace = false);
    ~X11Session();

    const std::string& name() const { return name_; }
    unsigned long find_window(const std::string& title);  // 0 when there is none
    std::pair<int, int> window_size(unsigned long window);
    // 0x00RRGGBB; a channel narrower than 8 bits comes left-aligned, its low bits zero.
    // Empty when the window cannot be read at that size now (unmapped, or turning).
    std::vector<uint32_t> capture(unsigned long window, int width, int height);
    void cover(unsigned long window);              // another program's white window on top of it
    void request_close(unsigned long window);      // what a window manager sends for the close button
    std::string properties(unsigned long window);  // as xprop prints them
    // Map requests come here instead of mapping windows, as to a window manager.
    void take_map_requests();
    // The window of the first map request that comes within `limit`, or 0.
    unsigned long next_map_request(std::chrono::milliseconds limit);
    void map(unsigned long window);

private:
    X11Session(pid_t pid, std::string name);
    pid_t pid_;
    std::string name_;
    void* connection_ = nullptr;
};

}  // namespace tickvane::display::testing
