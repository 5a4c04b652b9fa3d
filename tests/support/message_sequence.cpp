#include "message_sequence.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tickvane::test {

namespace {

struct Named {
    UINT msg;
    const char* name;
};
#define NAMED(m) \
    {            \
        m, #m    \
    }
constexpr Named kNames[] = {
    NAMED(WM_NULL),       NAMED(WM_CREATE),         NAMED(WM_DESTROY),    NAMED(WM_MOVE),
    NAMED(WM_SIZE),       NAMED(WM_ACTIVATE),       NAMED(WM_SETFOCUS),   NAMED(WM_KILLFOCUS),
    NAMED(WM_ENABLE),     NAMED(WM_SETTEXT),        NAMED(WM_GETTEXT),    NAMED(WM_GETTEXTLENGTH),
    NAMED(WM_PAINT),      NAMED(WM_CLOSE),          NAMED(WM_QUIT),       NAMED(WM_ERASEBKGND),
    NAMED(WM_SHOWWINDOW), NAMED(WM_ACTIVATEAPP),    NAMED(WM_CANCELMODE), NAMED(WM_SETFONT),
    NAMED(WM_GETFONT),    NAMED(WM_NCCREATE),       NAMED(WM_NCDESTROY),  NAMED(WM_NCACTIVATE),
    NAMED(WM_GETDLGCODE), NAMED(WM_KEYDOWN),        NAMED(WM_KEYUP),      NAMED(WM_SYSKEYDOWN),
    NAMED(WM_SYSKEYUP),   NAMED(WM_INITDIALOG),     NAMED(WM_COMMAND),    NAMED(WM_SYSCOMMAND),
    NAMED(WM_TIMER),      NAMED(WM_CTLCOLORSTATIC), NAMED(WM_MOUSEMOVE),  NAMED(WM_LBUTTONDOWN),
    NAMED(WM_LBUTTONUP),
};
#undef NAMED

std::string hex(uintptr_t v)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%lx", (unsigned long)v);
    return buf;
}

std::string describe(HWND hwnd, UINT msg, std::optional<WPARAM> w, std::optional<LPARAM> l)
{
    const MessageLog& log = message_log();
    std::string out = (hwnd ? log.label(hwnd) : "*") + " " + message_name(msg);
    out += " " +
           (w ? (msg == WM_COMMAND ? std::to_string(LOWORD(*w)) + ":" + std::to_string(HIWORD(*w)) : hex(*w)) : "*");
    out += " " + (l ? log.label((HWND)*l) : "*");
    return out;
}

std::string describe(const Expect& e)
{
    return (e.optional ? "(optional) " : "") + describe(e.hwnd, e.msg, e.wParam, e.lParam);
}

bool fits(const Expect& e, const Message& m)
{
    return (e.hwnd == nullptr || e.hwnd == m.hwnd) && e.msg == m.msg && (!e.wParam || *e.wParam == m.wParam) &&
           (!e.lParam || *e.lParam == m.lParam);
}

// Whether actual[j..] is expected[i..], where optional entries may be left out.
bool follows_from(const std::vector<Message>& actual, size_t j, const std::vector<Expect>& expected, size_t i)
{
    if (i == expected.size())
        return j == actual.size();
    if (expected[i].optional && follows_from(actual, j, expected, i + 1))
        return true;
    return j < actual.size() && fits(expected[i], actual[j]) && follows_from(actual, j + 1, expected, i + 1);
}

}  // namespace

std::string message_name(UINT msg)
{
    for (const Named& n : kNames)
        if (n.msg == msg)
            return n.name;
    if (msg >= WM_USER)
        return "WM_USER+" + std::to_string(msg - WM_USER);
    return hex(msg);
}

std::vector<Message> MessageLog::to(HWND hwnd) const
{
    std::vector<Message> out;
    std::copy_if(seen_.begin(), seen_.end(), std::back_inserter(out), [&](const Message& m) { return m.hwnd == hwnd; });
    return out;
}

size_t MessageLog::count(UINT msg, HWND hwnd) const
{
    return (size_t)std::count_if(seen_.begin(), seen_.end(),
                                 [&](const Message& m) { return m.msg == msg && (hwnd == nullptr || m.hwnd == hwnd); });
}

std::string MessageLog::label(HWND hwnd) const
{
    auto it = names_.find(hwnd);
    return it != names_.end() ? it->second : hex((uintptr_t)hwnd);
}

MessageLog& message_log()
{
    static MessageLog log;
    return log;
}

LRESULT CALLBACK recording_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    message_log().record(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

::testing::AssertionResult sequence_is(const std::vector<Message>& all, const std::vector<UINT>& kinds,
                                       const std::vector<Expect>& expected)
{
    std::vector<Message> actual;
    std::copy_if(all.begin(), all.end(), std::back_inserter(actual), [&](const Message& m) {
        return kinds.empty() || std::find(kinds.begin(), kinds.end(), m.msg) != kinds.end();
    });
    if (follows_from(actual, 0, expected, 0))
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "the messages differ (compared:";
    for (UINT k : kinds)
        out << " " << message_name(k);
    out << (kinds.empty() ? " all)\n" : ")\n");
    const size_t width = 44;
    out << "    " << std::string("expected").append(width - 8, ' ') << "actual\n";
    for (size_t row = 0; row < std::max(expected.size(), actual.size()); ++row) {
        std::string left = row < expected.size() ? describe(expected[row]) : "";
        std::string right = row < actual.size()
                                ? describe(actual[row].hwnd, actual[row].msg, actual[row].wParam, actual[row].lParam)
                                : "";
        bool same = row < expected.size() && row < actual.size() && fits(expected[row], actual[row]);
        left.resize(std::max(left.size() + 1, width), ' ');
        out << (same ? "    " : " !  ") << left << right << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

}  // namespace tickvane::test
