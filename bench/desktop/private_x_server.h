// A test fixture with a private Xvfb and one Xlib connection to it, for the benchmark
// tools' tests (skipped when Xvfb is missing). Include gtest and Xlib before it.
#pragma once

#include <memory>
#include <string>

#include "x11_session.h"

namespace tickvane::bench {

class OnPrivateXServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why_not;
        session_ = display::testing::X11Session::start(24, &why_not);
        if (!session_)
            GTEST_SKIP() << why_not;
        display_ = XOpenDisplay(session_->name().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override
    {
        if (display_ != nullptr)
            XCloseDisplay(display_);
    }

    std::unique_ptr<display::testing::X11Session> session_;
    Display* display_ = nullptr;
};

}  // namespace tickvane::bench
