#include "text/font_memory.h"

#include "text/private_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>

namespace tickvane::text {

namespace {
constexpr const char* kPreferredFamily = "VL Gothic";
}

std::optional<FontFile> recall_font(const std::string& memory_file)
{
    if (memory_file.empty())
        return std::nullopt;
    std::ifstream in(memory_file);
    FontFile f;
    std::string index;
    if (!std::getline(in, f.path) || !std::getline(in, index) || !std::getline(in, f.family))
        return std::nullopt;
    struct stat st {};
    if (f.family != kPreferredFamily || f.path.empty() || stat(f.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    f.index = index == "0" ? 0 : std::atoi(index.c_str());
    return f;
}

void remember_font(const std::string& memory_file, const FontFile& font)
{
    if (memory_file.empty() || font.family != kPreferredFamily)
        return;
    replace_private_file(memory_file, font.path + '\n' + std::to_string(font.index) + '\n' + font.family + '\n');
}

}  // namespace tickvane::text
