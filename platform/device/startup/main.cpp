// main() of a program built on the device: set the device up, then hand over to WinMain.
#include <cstdio>
#include <filesystem>
#include <string>

#include "codepage/unicode.h"
#include "registry/start_turn.h"
#include "res/resources.h"
#include "settings/private_folder.h"
#include "settings/settings.h"
#include "startup/start_device.h"

using namespace tickvane::device;

int main(int argc, char** argv)
{
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string executable = ec ? std::string(argc > 0 ? argv[0] : "") : exe.string();
    Settings settings = settings_from_environment(executable);
    std::string refusal = settings.refusal.empty() ? prepare_device_folder(settings.root, true) : settings.refusal;
    if (!refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return 1;
    }
    start_device(settings);
    start_turn_take(settings.root, executable);
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    std::u16string command_line = utf16_from_utf8(line);
    int code = WinMain(program_instance(), nullptr, command_line.data(), SW_SHOWNORMAL);
    stop_device();
    return code;
}
