// The FreeType functions the device calls, forwarding to libfreetype opened at the first
// call. A start that finds every glyph of its first frame in the glyph store never
// renders, and should not load FreeType and what it needs (libpng, zlib, brotli) either.
// Defined against FreeType's own headers, so the compiler checks every signature.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "lazy_library.h"

using tickvane::on_demand::find;
using tickvane::on_demand::LazyLibrary;
using tickvane::on_demand::require;

namespace {
LazyLibrary& freetype()
{
    static LazyLibrary* library = new LazyLibrary("libfreetype.so.6");  // used until the process ends
    return *library;
}
}  // namespace

// A missing library shows as a library that cannot start: no face opens, no glyph renders.
extern "C" FT_Error FT_Init_FreeType(FT_Library* library)
{
    static const auto function = find<decltype(&FT_Init_FreeType)>(freetype(), "FT_Init_FreeType");
    if (function == nullptr) {
        *library = nullptr;
        return FT_Err_Cannot_Open_Resource;
    }
    return function(library);
}

// The rest follow a library that started: it is there by then.
#define TICKVANE_FORWARD(result, name, params, args)                              \
    extern "C" result name params                                                 \
    {                                                                             \
        static const auto function = require<decltype(&name)>(freetype(), #name); \
        return function args;                                                     \
    }

TICKVANE_FORWARD(FT_Error, FT_Done_FreeType, (FT_Library library), (library))
TICKVANE_FORWARD(FT_Error, FT_Open_Face, (FT_Library library, const FT_Open_Args* args, FT_Long index, FT_Face* face),
                 (library, args, index, face))
TICKVANE_FORWARD(FT_Error, FT_Done_Face, (FT_Face face), (face))
TICKVANE_FORWARD(FT_Error, FT_Select_Charmap, (FT_Face face, FT_Encoding encoding), (face, encoding))
TICKVANE_FORWARD(FT_Error, FT_Set_Pixel_Sizes, (FT_Face face, FT_UInt width, FT_UInt height), (face, width, height))
TICKVANE_FORWARD(FT_UInt, FT_Get_Char_Index, (FT_Face face, FT_ULong code), (face, code))
TICKVANE_FORWARD(FT_Error, FT_Load_Glyph, (FT_Face face, FT_UInt index, FT_Int32 flags), (face, index, flags))
TICKVANE_FORWARD(void*, FT_Get_Sfnt_Table, (FT_Face face, FT_Sfnt_Tag tag), (face, tag))
TICKVANE_FORWARD(FT_Long, FT_MulFix, (FT_Long a, FT_Long b), (a, b))

#undef TICKVANE_FORWARD
