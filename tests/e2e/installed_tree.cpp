#include "installed_tree.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "bounded_process.h"

namespace fs = std::filesystem;

namespace tickvane::e2e {
namespace {

bool environment_names_root(const fs::path& proc, const std::string& root)
{
    std::ifstream in(proc / "environ", std::ios::binary);
    for (std::string variable; std::getline(in, variable, '\0');)
        if (variable == "TICKVANE_DEVICE_ROOT=" + root)
            return true;
    return false;
}

bool executable_under(const fs::path& proc, const std::string& root)
{
    std::error_code ec;
    std::string exe = fs::read_symlink(proc / "exe", ec).string();
    return !ec && exe.compare(0, root.size() + 1, root + "/") == 0;
}

}  // namespace

InstalledTree::~InstalledTree()
{
    std::error_code ec;
    if (!folder_.empty())
        fs::remove_all(folder_, ec);
}

bool InstalledTree::install(const std::string& cmake, const std::string& build_dir, std::string* why)
{
    std::string pattern = (fs::temp_directory_path() / "tickvane-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        *why = "cannot create a temporary folder under " + fs::temp_directory_path().string();
        return false;
    }
    std::error_code ec;
    fs::path real = fs::canonical(pattern, ec);  // as /proc shows executables
    folder_ = ec ? pattern : real.string();
    root_ = folder_ + "/device";
    Outcome done = run_bounded({cmake, "--install", build_dir, "--strip", "--prefix", root_}, environment_with({}),
                               milliseconds(60000));
    if (!done.finished || done.exit_code != 0 || !fs::is_regular_file(clock_exe())) {
        *why = "cmake --install " + build_dir + " did not give " + clock_exe() + ":\n" + done.output;
        return false;
    }
    return true;
}

std::vector<pid_t> processes_of_device(const std::string& root)
{
    std::vector<pid_t> found;
    if (root.empty())
        return found;  // no tree yet (a skipped test): every executable would lie under "/"
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", ec)) {
        std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (executable_under(entry.path(), root) || environment_names_root(entry.path(), root))
            found.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return found;
}

std::string what_the_process_does(pid_t pid)
{
    std::string proc = "/proc/" + std::to_string(pid), stat, wchan;
    std::getline(std::ifstream(proc + "/stat"), stat);
    std::getline(std::ifstream(proc + "/wchan"), wchan);
    if (stat.empty())
        return std::to_string(pid) + " has ended";
    return stat.substr(0, stat.find(' ', stat.find(')') + 3)) + " waiting in " + wchan;
}

std::string what_the_device_does(const std::string& root)
{
    std::string said;
    for (pid_t pid : processes_of_device(root))
        said += "\n  " + what_the_process_does(pid);
    return said.empty() ? "no process of the device runs" : "the device's processes:" + said;
}

}  // namespace tickvane::e2e
