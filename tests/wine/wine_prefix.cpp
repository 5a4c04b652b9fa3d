#include "wine_prefix.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "bounded_process.h"

namespace fs = std::filesystem;
using std::chrono::seconds;
using tickvane::e2e::Outcome;
using tickvane::e2e::run_bounded;

namespace tickvane::wine {
namespace {

constexpr const char* kJapaneseFont = "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf";
constexpr const char* kFontLink = "VL-Gothic-Regular.ttf,VL Gothic";
// The faces of Wine's menus, message boxes and "MS Shell Dlg" dialogs: none has Japanese
// glyphs, so each links to VL Gothic for the characters it lacks.
constexpr const char* kLinkedFaces[] = {"Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif"};

bool on_path(const std::string& program)
{
    std::istringstream dirs(getenv("PATH") ? getenv("PATH") : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

// REGEDIT4 files give a REG_MULTI_SZ as hex(7) bytes in the ANSI code page.
std::string multi_string(const std::string& text)
{
    std::string hex = "hex(7):";
    char byte[4];
    for (unsigned char c : text + std::string(2, '\0')) {
        std::snprintf(byte, sizeof byte, "%02x,", c);
        hex += byte;
    }
    hex.pop_back();
    return hex;
}

std::string font_link_registry()
{
    std::string reg =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\"
        "FontLink\\SystemLink]\r\n";
    for (const char* face : kLinkedFaces)
        reg += "\"" + std::string(face) + "\"=" + multi_string(kFontLink) + "\r\n";
    return reg;
}

// Empty when `argv` ended with exit code 0 within `limit`, else what happened.
std::string run(const std::vector<std::string>& argv, const std::vector<std::string>& env, seconds limit)
{
    Outcome done = run_bounded(argv, env, limit);
    if (done.finished && done.exit_code == 0)
        return "";
    std::string command;
    for (const std::string& a : argv)
        command += " " + a;
    return command.substr(1) +
           (done.finished ? " ended with " + std::to_string(done.exit_code) : " did not end in time") + ":\n" +
           done.output;
}

bool write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out.flush());
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::unique_ptr<WinePrefix>& the_prefix()
{
    static std::unique_ptr<WinePrefix> prefix;  // removed at exit, after every test
    return prefix;
}

}  // namespace

std::string missing_tools()
{
    for (const char* program : {"wine", "wineserver", "Xvfb", "xdotool"})
        if (!on_path(program))
            return std::string(program) + " is not installed";
    if (std::string(TICKVANE_LIBFAKETIME).empty())
        return "libfaketime is not installed";
    return "";
}

WinePrefix* WinePrefix::shared(std::string* why)
{
    static bool tried = false;
    static std::string failure;  // made once: a failed attempt is not repeated for every test
    if (!tried) {
        tried = true;
        the_prefix().reset(new WinePrefix);
        if (!the_prefix()->make(&failure))
            the_prefix().reset();
    }
    *why = failure;
    return the_prefix().get();
}

std::unique_ptr<WinePrefix> WinePrefix::fresh(std::string* why)
{
    std::unique_ptr<WinePrefix> prefix(new WinePrefix);
    if (!prefix->make(why))
        prefix.reset();
    return prefix;
}

std::string WinePrefix::user_dir() const
{
    std::error_code ec;
    for (const fs::directory_entry& user : fs::directory_iterator(drive_c() + "/users", ec))
        if (user.path().filename() != "Public")
            return user.path().string();
    return drive_c() + "/users/unknown";
}

WinePrefix::~WinePrefix()
{
    stop_server();
    std::error_code ec;
    if (!folder_.empty())
        fs::remove_all(folder_, ec);
}

std::vector<std::string> WinePrefix::environment(const std::vector<std::string>& changes) const
{
    std::vector<std::string> all{"WINEPREFIX=" + path_, "WINEARCH=win64", "WINEDEBUG=-all",
                                 "WINEDLLOVERRIDES=mscoree,mshtml="};  // no Mono or Gecko installer
    auto name_of = [](const std::string& s) { return s.substr(0, s.find('=')); };
    for (const std::string& c : changes)
        std::erase_if(all, [&](const std::string& a) { return name_of(a) == name_of(c); });
    all.insert(all.end(), changes.begin(), changes.end());
    return e2e::environment_with(all);
}

void WinePrefix::stop_server() const
{
    if (path_.empty())
        return;
    run_bounded({"wineserver", "-k"}, environment(), seconds(15));
    run_bounded({"wineserver", "-w"}, environment(), seconds(15));
}

bool WinePrefix::make(std::string* why)
{
    std::string pattern = (fs::temp_directory_path() / "tickvane-wine-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        *why = "cannot create a temporary folder for the Wine prefix";
        return false;
    }
    folder_ = pattern;
    path_ = folder_ + "/prefix";
    *why = run({"wine", "wineboot", "-i"}, environment(), seconds(180));
    if (why->empty())
        *why = run({"wineserver", "-w"}, environment(), seconds(60));
    if (!why->empty())
        return false;
    std::error_code ec;
    fs::copy_file(kJapaneseFont, drive_c() + "/windows/Fonts/VL-Gothic-Regular.ttf", ec);
    // Under faketime the prefix looks older than Wine's own files: without this every
    // start would update it again.
    if (ec || !write_file(path_ + "/.update-timestamp", "disable\n") ||
        !write_file(drive_c() + "/fontlink.reg", font_link_registry())) {
        *why = "cannot fill the prefix at " + path_ + " (is fonts-vlgothic installed?)";
        return false;
    }
    *why = run({"wine", "regedit", "/S", "C:\\fontlink.reg"}, environment(), seconds(60));
    if (why->empty())
        *why = run({"wineserver", "-w"}, environment(), seconds(60));  // the registry reaches system.reg
    if (why->empty() && read_file(path_ + "/system.reg").find(kFontLink) == std::string::npos)
        *why = "regedit did not store the font links in " + path_ + "/system.reg";
    return why->empty();
}

std::string WinePrefix::reset(const std::string& windows_exe) const
{
    std::error_code ignored, ec;
    fs::remove(settings_file(), ignored);
    std::vector<fs::path> jobs;
    for (const fs::directory_entry& job : fs::directory_iterator(tasks_dir(), ignored))
        jobs.push_back(job.path());
    for (const fs::path& job : jobs)
        fs::remove(job, ignored);
    // The window's place and screen size that the last appearance kept.
    for (const fs::directory_entry& user : fs::directory_iterator(drive_c() + "/users", ignored))
        fs::remove_all(user.path() / "AppData/Local/Tickvane", ignored);
    fs::create_directories(install_dir(), ec);
    fs::copy_file(windows_exe, install_dir() + "/zubo.exe", fs::copy_options::overwrite_existing, ec);
    return ec ? "cannot install " + windows_exe + " into " + install_dir() + ": " + ec.message() : "";
}

}  // namespace tickvane::wine
