#include "text/font_memory.h"

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
    std::string tmp = memory_file + ".tmp";
    {
        std::ofstream out(tmp, std::ios::trunc);
        out << font.path << '\n' << font.index << '\n' << font.family << '\n';
        if (!out)
            return;
    }
    std::rename(tmp.c_str(), memory_file.c_str());
}

}  // namespace tickvane::text
