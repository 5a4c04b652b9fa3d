// first_frame against windows this test draws itself (or not) and against xclock, on a
// private Xvfb.
// gtest before Xlib, whose macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "first_frame_args.h"
#include "private_x_server.h"
#include "window_probe.h"

using tickvane::bench::parse_first_frame_args;
using tickvane::bench::WindowProbe;
using tickvane::bench::WindowState;
using tickvane::display::testing::X11Session;

namespace {

TEST(FirstFrameArgs, ReadsTimeoutTitleAndCommand)
{
    std::string error;
    auto args = parse_first_frame_args({"--timeout-ms=250", "Tickvane", "zubo.exe", "--flag"}, &error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->timeout_ms, 250);
    EXPECT_EQ(args->title, "Tickvane");
    EXPECT_EQ(args->command, (std::vector<std::string>{"zubo.exe", "--flag"}));
    EXPECT_FALSE(args->with_cpu);
    auto plain = parse_first_frame_args({"xclock", "xclock"}, &error);
    EXPECT_EQ(plain->timeout_ms, 10000);
    auto cpu = parse_first_frame_args({"--cpu", "--timeout-ms=5", "T", "c"}, &error);
    ASSERT_TRUE(cpu) << error;
    EXPECT_TRUE(cpu->with_cpu);
    EXPECT_EQ(cpu->timeout_ms, 5);
}

TEST(FirstFrameArgs, RefusesWhatItCannotUse)
{
    const std::vector<std::vector<std::string>> bad = {{},
                                                       {"Title"},
                                                       {"", "cmd"},
                                                       {"Title", ""},
                                                       {"--verbose", "Title", "cmd"},
                                                       {"--cpus", "Title", "cmd"},
                                                       {"--timeout-ms=abc", "T", "c"},
                                                       {"--timeout-ms=0", "T", "c"},
                                                       {"--timeout-ms=-5", "T", "c"},
                                                       {"--timeout-ms=12x", "T", "c"},
                                                       {"--timeout-ms=99999999999", "T", "c"},
                                                       {"--timeout-ms=", "T", "c"}};
    for (const auto& words : bad) {
        std::string error;
        EXPECT_FALSE(parse_first_frame_args(words, &error)) << words.size() << " words";
        EXPECT_FALSE(error.empty());
    }
}

struct Outcome {
    int status = -1;
    std::string out;
    double seconds = 0;
};

class FirstFrameOnX : public tickvane::bench::OnPrivateXServer {
protected:
    // A mapped white window (inside `parent`, or top-level); with `ink`, a black square drawn into it.
    Window show_window(const char* title, bool ink, Window parent = 0)
    {
        int screen = DefaultScreen(display_);
        Window w = XCreateSimpleWindow(display_, parent != 0 ? parent : DefaultRootWindow(display_), 10, 10, 200, 150,
                                       0, 0, WhitePixel(display_, screen));
        XStoreName(display_, w, title);
        XMapWindow(display_, w);
        XSync(display_, False);
        if (ink) {
            XFillRectangle(display_, w, DefaultGC(display_, screen), 20, 20, 30, 30);
            XSync(display_, False);
        }
        return w;
    }

    Outcome first_frame(const std::string& words)
    {
        Outcome o;
        std::string command = "DISPLAY=" + session_->name() + " " + FIRST_FRAME + " " + words + " 2>/dev/null";
        auto start = std::chrono::steady_clock::now();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            return o;
        for (int c; (c = std::fgetc(pipe)) != EOF;)
            o.out += static_cast<char>(c);
        int status = pclose(pipe);
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return o;
    }
};

TEST_F(FirstFrameOnX, ProbeTellsMissingBlankAndPaintedApart)
{
    setenv("DISPLAY", session_->name().c_str(), 1);
    std::string why_not;
    std::unique_ptr<WindowProbe> probe = WindowProbe::connect(&why_not);
    ASSERT_TRUE(probe) << why_not;
    EXPECT_EQ(probe->look("Clock"), WindowState::Missing);

    Window clock = show_window("Clock", false);
    EXPECT_EQ(probe->look("Clock"), WindowState::Unpainted);
    XFillRectangle(display_, clock, DefaultGC(display_, DefaultScreen(display_)), 199, 149, 1, 1);  // one corner pixel
    XSync(display_, False);
    EXPECT_EQ(probe->look("Clock"), WindowState::Painted);
    XUnmapWindow(display_, clock);
    XSync(display_, False);
    EXPECT_EQ(probe->look("Clock"), WindowState::Missing) << "an unmapped window is not on screen";

    // A window manager puts the program's window inside a frame of its own.
    Window frame = show_window("", false);
    show_window("Framed", true, frame);
    EXPECT_EQ(probe->look("Framed"), WindowState::Painted);
}

TEST_F(FirstFrameOnX, DrawnWindowCountsAndBlankOrMisnamedOnesDoNot)
{
    show_window("Drawn", true);
    Outcome drawn = first_frame("Drawn sleep 30");
    EXPECT_EQ(drawn.status, 0);
    EXPECT_GE(std::stod(drawn.out.empty() ? "-1" : drawn.out), 0.0);
    EXPECT_LT(drawn.seconds, 3.0) << "the command was not ended";

    show_window("Blank", false);
    EXPECT_EQ(first_frame("--timeout-ms=300 Blank sleep 30").status, 1);
    EXPECT_EQ(first_frame("--timeout-ms=300 Draw sleep 30").status, 1) << "a title matches only whole";
}

TEST_F(FirstFrameOnX, EndsTheCommandWhenTimeRunsOut)
{
    std::string pid_file = (std::filesystem::temp_directory_path() / "first_frame_test.pid").string();
    Outcome o = first_frame("--timeout-ms=200 Nothing sh -c 'echo $$ > " + pid_file + "; exec sleep 30'");
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_LT(o.seconds, 3.0);
    pid_t pid = 0;
    std::ifstream(pid_file) >> pid;
    std::filesystem::remove(pid_file);
    ASSERT_GT(pid, 0);
    EXPECT_NE(kill(pid, 0), 0) << "the command is still running";
}

TEST_F(FirstFrameOnX, CommandThatEndsOrCannotStartIsReportedWithoutWaiting)
{
    for (const char* command : {"false", "/nonexistent/program"}) {
        Outcome o = first_frame(std::string("--timeout-ms=20000 Anything ") + command);
        EXPECT_EQ(o.status, 1) << command;
        EXPECT_LT(o.seconds, 5.0) << command;
    }
}

TEST_F(FirstFrameOnX, TimesARealProgram)
{
    if (std::system("command -v xclock >/dev/null") != 0)
        GTEST_SKIP() << "xclock is not installed";
    Outcome o = first_frame("xclock xclock");
    ASSERT_EQ(o.status, 0);
    double ms = std::stod(o.out);
    EXPECT_GT(ms, 0.0);
    EXPECT_LT(ms, 10000.0);
}

}  // namespace
