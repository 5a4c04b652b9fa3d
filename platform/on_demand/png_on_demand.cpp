// The libpng functions the device calls, forwarding to libpng opened at the first call:
// only the headless display writes PNG files, and a desktop window should not load it.
// Defined against <png.h>, so the compiler checks every signature.
#include <png.h>

#include <cstdlib>

#include "lazy_library.h"

using tickvane::on_demand::find;
using tickvane::on_demand::LazyLibrary;
using tickvane::on_demand::require;

namespace {
LazyLibrary& libpng()
{
    static LazyLibrary* library = new LazyLibrary("libpng16.so.16");  // used until the process ends
    return *library;
}
}  // namespace

// A missing library shows as a writer that cannot be made: no file is written.
extern "C" png_structp png_create_write_struct(png_const_charp version, png_voidp error_context, png_error_ptr on_error,
                                               png_error_ptr on_warning)
{
    static const auto function = find<decltype(&png_create_write_struct)>(libpng(), "png_create_write_struct");
    return function != nullptr ? function(version, error_context, on_error, on_warning) : nullptr;
}

extern "C" void png_longjmp(png_const_structrp png, int value)
{
    static const auto function = require<decltype(&png_longjmp)>(libpng(), "png_longjmp");
    function(png, value);
    std::abort();  // it does not return
}

// The rest follow a writer that was made: the library is there by then.
#define TICKVANE_FORWARD(result, name, params, args)                            \
    extern "C" result name params                                               \
    {                                                                           \
        static const auto function = require<decltype(&name)>(libpng(), #name); \
        return function args;                                                   \
    }

TICKVANE_FORWARD(jmp_buf*, png_set_longjmp_fn, (png_structrp png, png_longjmp_ptr jump, size_t size), (png, jump, size))
TICKVANE_FORWARD(png_infop, png_create_info_struct, (png_const_structrp png), (png))
TICKVANE_FORWARD(void, png_destroy_write_struct, (png_structpp png, png_infopp info), (png, info))
TICKVANE_FORWARD(void, png_init_io, (png_structrp png, png_FILE_p file), (png, file))
TICKVANE_FORWARD(void, png_set_compression_level, (png_structrp png, int level), (png, level))
TICKVANE_FORWARD(void, png_set_filter, (png_structrp png, int method, int filters), (png, method, filters))
TICKVANE_FORWARD(void, png_set_IHDR,
                 (png_const_structrp png, png_inforp info, png_uint_32 width, png_uint_32 height, int depth, int colour,
                  int interlace, int compression, int filter),
                 (png, info, width, height, depth, colour, interlace, compression, filter))
TICKVANE_FORWARD(void, png_write_info, (png_structrp png, png_const_inforp info), (png, info))
TICKVANE_FORWARD(void, png_set_bgr, (png_structrp png), (png))
TICKVANE_FORWARD(void, png_set_filler, (png_structrp png, png_uint_32 filler, int flags), (png, filler, flags))
TICKVANE_FORWARD(void, png_write_row, (png_structrp png, png_const_bytep row), (png, row))
TICKVANE_FORWARD(void, png_write_end, (png_structrp png, png_inforp info), (png, info))

#undef TICKVANE_FORWARD
