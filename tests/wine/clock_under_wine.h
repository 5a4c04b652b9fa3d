// One test of the Windows clock under Wine: the program's prefix back to a
// just-installed clock, a private 1280 x 1024 Xvfb without a window manager (so that
// Wine's X window holds the menu bar and the client area only), and the clock started
// there with its local time pinned by libfaketime
// (frozen: FAKETIME="YYYY-MM-DD hh:mm:ss" with FAKETIME_DONT_FAKE_MONOTONIC=1, so
// Wine's timers and waits still run). Driven with xdotool.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "bounded_process.h"
#include "glyph_boxes.h"
#include "wine_prefix.h"
#include "x11_session.h"

namespace tickvane::wine {

using std::chrono::milliseconds;

class ClockUnderWine : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts Xvfb and the clock; true once the clock's window shows the year that our
    // device draws for that time, at the top left corner of a 240 x 320 client area.
    bool start(const std::string& pinned);
    // For a test that starts the clock its own way: the private X server alone.
    bool start_display();
    // Starts `program` (a Windows path) with the working folder `folder` (a Unix one, so on
    // drive Z:) and `time` (libfaketime's variables); true once a "Tickvane" window that
    // was not there before shows the 240 x 320 client area with `face_time`'s year.
    bool start_program(const std::string& program, const std::string& folder, const std::vector<std::string>& time,
                       const std::string& face_time);
    std::string display_name() const { return x_->name(); }
    // The prefix's environment for Wine on this test's X server, with `changes`.
    std::vector<std::string> wine_environment(const std::vector<std::string>& changes = {}) const;
    // The rotate key; true once the client area has turned to 320 x 240.
    bool rotate();
    // Empty once the client area shows the face our device draws on a screen of the client
    // area's size, else the last difference seen.
    std::string face_within(milliseconds limit);

    test::Image capture_screen();
    Box menu_bar() const { return menu_bar_; }  // on the screen
    // Where a window of ours stands on the screen (without a window manager: its client
    // area, plus the menu bar for the clock's); empty when xdotool cannot tell.
    std::optional<Box> window_box(const std::string& title_regex);
    void click(int client_x, int client_y);  // may be in the menu bar, above the client area
    // Inside the two items' texts as Wine lays out the bar: about 5-65 and 80-175.
    void click_options_item() { click(20, menu_bar_middle_); }
    void click_exit_item() { click(120, menu_bar_middle_); }
    void keys(const std::vector<std::string>& names);
    bool window_shown(const std::string& title_regex, milliseconds limit);
    bool window_gone(const std::string& title_regex, milliseconds limit);
    std::optional<int> exit_code(milliseconds limit) { return clock_->wait_exit(limit); }
    std::string clock_output() const { return clock_ ? clock_->output() : ""; }
    // A capture of the whole screen into $TICKVANE_WINE_SHOTS/<test>-<name>.png, if set.
    void save_screen(const std::string& name);

    std::string settings() const;           // the settings file's bytes
    std::vector<std::string> jobs() const;  // the names of the scheduled .job files

    WinePrefix* prefix_ = nullptr;

private:
    Box client_{"client", 0, 0, 0, 0};      // the clock's client area on the screen
    Box menu_bar_{"menu bar", 0, 0, 0, 0};  // on the screen
    int menu_bar_middle_ = 0;               // the menu bar's middle row, in client coordinates
    std::unique_ptr<display::testing::X11Session> x_;
    std::optional<e2e::Child> clock_;
    bool launch(const std::vector<std::string>& argv, const std::vector<std::string>& env);
    bool find_client(int width, int height);
    std::vector<std::string> x_env() const;
    unsigned long root_ = 0;
    unsigned long window_ = 0;  // the clock's X window
    std::string pinned_;
};

}  // namespace tickvane::wine
