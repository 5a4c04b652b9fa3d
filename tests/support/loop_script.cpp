#include "loop_script.h"

#include <gtest/gtest.h>

#include <optional>

#include "testing.h"

namespace tickvane::test {

namespace dt = device::testing;

namespace {

constexpr uint64_t kWaitLimitMs = 120'000;
constexpr int kWaitLimitIdles = 5'000;  // for loops whose time stands still
constexpr int kFinishLimitIdles = 20;

// After an act the loop has something to do and comes back idle once it has handled
// all of it, instead of taking an act that queued nothing for the end of its work.
void wake_the_loop() { PostMessageW(nullptr, WM_NULL, 0, 0); }

std::string utf8(const char16_t* text)
{
    char out[256] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
    return out;
}

}  // namespace

Until until(std::string what, std::function<bool()> holds) { return Until{std::move(what), std::move(holds)}; }

Until settled()
{
    return until("the loop to handle what came before", [] { return true; });
}

Until after_ms(uint64_t ms)
{
    return until(std::to_string(ms) + " ms to pass", [ms, since = std::optional<uint64_t>()]() mutable {
        since = since.value_or(dt::virtual_now());
        return dt::virtual_now() - *since >= ms;
    });
}

Until shown(const char16_t* title)
{
    return until("the window \"" + utf8(title) + "\" to show", [title] {
        HWND w = FindWindowW(nullptr, title);
        return w != nullptr && IsWindowVisible(w);
    });
}

Until gone(const char16_t* title)
{
    return until("the window \"" + utf8(title) + "\" to go",
                 [title] { return FindWindowW(nullptr, title) == nullptr; });
}

ScriptRun run_script(const std::vector<Step>& steps, const std::function<void()>& finish,
                     const std::function<void()>& body)
{
    ScriptRun run;
    uint64_t waiting_since = dt::virtual_now();
    int idles_waited = 0, finishing = 0;
    bool gave_up = false;
    dt::on_idle([&] {
        if (run.steps_run < steps.size() && !gave_up) {
            const Step& step = steps[run.steps_run];
            if (step.until.holds()) {
                ++run.steps_run;
                step.act();
                waiting_since = dt::virtual_now(), idles_waited = 0;
                wake_the_loop();
                return;
            }
            if (dt::virtual_now() - waiting_since < kWaitLimitMs && ++idles_waited < kWaitLimitIdles)
                return;
            ADD_FAILURE() << "step " << run.steps_run + 1 << " waited in vain for " << step.until.what << " ("
                          << dt::virtual_now() - waiting_since << " ms, " << idles_waited << " idle points)";
            gave_up = true;
        }
        run.finished = true;
        if (++finishing > kFinishLimitIdles) {
            ADD_FAILURE() << "the loop went on after the last step";
            PostQuitMessage(99);
            return;
        }
        finish();
        wake_the_loop();
    });
    body();
    dt::on_idle(nullptr);
    if (run.steps_run < steps.size() && !gave_up)
        ADD_FAILURE() << "the loop ended while step " << run.steps_run + 1 << " waited for "
                      << steps[run.steps_run].until.what;
    return run;
}

}  // namespace tickvane::test
