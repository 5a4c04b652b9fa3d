#include "xdotool.h"

#include <sstream>

#include "bounded_process.h"

namespace tickvane::e2e {

std::vector<unsigned long> windows_named(const std::string& display, const std::string& title_regex, bool wait,
                                         std::chrono::milliseconds limit)
{
    std::vector<std::string> argv{"xdotool", "search", "--name", title_regex};
    if (wait)
        argv.insert(argv.begin() + 2, "--sync");
    std::istringstream out(run_bounded(argv, environment_with({"DISPLAY=" + display}), limit).output);
    std::vector<unsigned long> ids;
    for (std::string word; out >> word;)  // warnings on stderr come interleaved
        if (word.find_first_not_of("0123456789") == std::string::npos)
            ids.push_back(std::stoul(word));
    return ids;
}

std::string xdotool(const std::string& display, const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    Outcome done = run_bounded(argv, environment_with({"DISPLAY=" + display}), std::chrono::seconds(5));
    if (done.finished && done.exit_code == 0)
        return "";
    std::string why = "xdotool";
    for (const auto& a : args)
        why += " " + a;
    return why + ": " + (done.finished ? done.output : std::string("did not finish"));
}

}  // namespace tickvane::e2e
