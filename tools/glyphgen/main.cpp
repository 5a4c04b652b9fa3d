// tickvane-glyphgen OUTPUT_DIR: writes the clock's glyph sheets and icon into OUTPUT_DIR.
#include "resource_files.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Writes beside the target and renames over it, so an interrupted run never leaves a torn file.
bool WriteFileAtomically(const fs::path& target, const std::vector<std::uint8_t>& bytes)
{
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (!error)
        return true;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argc > 0 ? argv[0] : "tickvane-glyphgen");
        return 2;
    }
    const fs::path dir = argv[1];
    std::error_code error;
    if (!fs::is_directory(dir, error)) {
        std::fprintf(stderr, "tickvane-glyphgen: %s is not a directory\n", argv[1]);
        return 1;
    }
    try {
        for (const auto& file : tickvane::glyphgen::GenerateResourceFiles()) {
            if (!WriteFileAtomically(dir / file.name, file.bytes)) {
                std::fprintf(stderr, "tickvane-glyphgen: cannot write %s\n", (dir / file.name).c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tickvane-glyphgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
