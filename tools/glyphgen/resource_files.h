// Every file the generator produces, by name, as bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tickvane::glyphgen {

struct GeneratedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// small_glyphs.bmp, large_glyphs.bmp and zubo.ico; the same bytes on every run.
std::vector<GeneratedFile> GenerateResourceFiles();

}  // namespace tickvane::glyphgen
