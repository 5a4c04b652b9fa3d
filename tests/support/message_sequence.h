// The messages that window and dialog procedures received, and the one check that
// compares them with an expected sequence written as a table.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win32.h"

namespace tickvane::test {

struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// One entry of an expected sequence. Unset parameters and a null window match any.
struct Expect {
    HWND hwnd = nullptr;
    UINT msg = 0;
    std::optional<WPARAM> wParam{};
    std::optional<LPARAM> lParam{};
    bool optional = false;  // the entry may be missing
};

inline Expect maybe(Expect e)
{
    e.optional = true;
    return e;
}
// WM_COMMAND to `to` (any window when null) with this id and notification code.
inline Expect command(HWND to, int id, int code, HWND from = nullptr)
{
    Expect e{to, WM_COMMAND, MAKEWPARAM(id, code)};
    if (from != nullptr)
        e.lParam = (LPARAM)from;
    return e;
}

class MessageLog {
public:
    void record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { seen_.push_back({hwnd, msg, wParam, lParam}); }
    void clear() { seen_.clear(); }
    const std::vector<Message>& all() const { return seen_; }
    std::vector<Message> to(HWND hwnd) const;
    size_t count(UINT msg, HWND hwnd = nullptr) const;
    // What the printout calls a window; a fresh device drops every name.
    void name(HWND hwnd, std::string label) { names_[hwnd] = std::move(label); }
    void forget() { seen_.clear(), names_.clear(); }
    std::string label(HWND hwnd) const;

private:
    std::vector<Message> seen_;
    std::map<HWND, std::string> names_;
};

// The log the recording procedures feed: one per test program.
MessageLog& message_log();
// A window procedure that records every message, then leaves it to DefWindowProcW.
LRESULT CALLBACK recording_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Whether `actual`, keeping only messages of `kinds` (all of them when empty), is
// `expected`. On a mismatch both sequences are printed side by side, with names.
::testing::AssertionResult sequence_is(const std::vector<Message>& actual, const std::vector<UINT>& kinds,
                                       const std::vector<Expect>& expected);

std::string message_name(UINT msg);  // "WM_ACTIVATE", "WM_USER+2"

}  // namespace tickvane::test
