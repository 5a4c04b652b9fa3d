// What a test that runs a Windows program of ours in the shared prefix starts from: the
// prefix, and a private Xvfb for the program's windows. Skipped when Wine or the X tools
// are missing; the prefix's wineserver is stopped before the X server goes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "wine_prefix.h"
#include "x11_session.h"

namespace tickvane::wine {

class PrefixOnXvfb : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::string missing = missing_tools(); !missing.empty())
            GTEST_SKIP() << missing;
        std::string why;
        prefix_ = WinePrefix::shared(&why);
        ASSERT_NE(prefix_, nullptr) << why;
        x_ = display::testing::X11Session::start(24, &why);
        ASSERT_NE(x_, nullptr) << why;
    }
    void TearDown() override
    {
        if (prefix_ != nullptr && x_ != nullptr)
            prefix_->stop_server();  // Wine's desktop process stays bound to this X server
    }
    std::vector<std::string> environment() const { return prefix_->environment({"DISPLAY=" + x_->name()}); }

    WinePrefix* prefix_ = nullptr;
    std::unique_ptr<display::testing::X11Session> x_;
};

}  // namespace tickvane::wine
