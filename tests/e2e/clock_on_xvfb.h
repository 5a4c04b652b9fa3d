// What every end-to-end test of the installed clock starts from: libfaketime and
// xdotool at hand (the test is skipped otherwise), a private Xvfb, and the build
// installed into a fresh device tree.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bounded_process.h"
#include "installed_tree.h"
#include "x11_session.h"

namespace tickvane::e2e {

class ClockOnXvfb : public ::testing::Test {
protected:
    void SetUp() override;

    InstalledTree tree_;
    std::unique_ptr<display::testing::X11Session> x_;  // outlives the clocks' windows
    std::vector<std::string> server_args_;             // for Xvfb, set before SetUp (e.g. another screen size)
};

// The same with openbox managing the screen (skipped without it); whatever of the
// device still runs afterwards is killed, also what a service started in a session
// of its own.
class ClockUnderWindowManager : public ClockOnXvfb {
protected:
    void SetUp() override;
    void TearDown() override;
    // For a failure's message: openbox's state and output, and the windows on the screen.
    std::string what_the_window_manager_does();

    std::unique_ptr<Child> wm_;
};

}  // namespace tickvane::e2e
