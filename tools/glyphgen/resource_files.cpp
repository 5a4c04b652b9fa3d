#include "resource_files.h"

#include "app_icon.h"
#include "bmp_file.h"
#include "glyph_sheets.h"
#include "ico_file.h"

namespace tickvane::glyphgen {

std::vector<GeneratedFile> GenerateResourceFiles()
{
    return {
        {"small_glyphs.bmp", EncodeBmp8(SmallGlyphSheet())},
        {"large_glyphs.bmp", EncodeBmp24(LargeGlyphSheet())},
        {"zubo.ico", EncodeIco(AppIconImages())},
    };
}

}  // namespace tickvane::glyphgen
