#include "png_writer.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace tickvane::display {
namespace {

// libpng reports errors by longjmp; ours skips its stderr message (the caller reports once).
[[noreturn]] void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

// Kept free of C++ objects with destructors: a longjmp out of libpng lands here.
bool encode(FILE* out, const Pixels& screen)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    // The screen changes every second or so: speed matters more than size.
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(screen.width), static_cast<png_uint_32>(screen.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    // Rows go to libpng straight from the framebuffer: 0x00RRGGBB words are B,G,R,0 bytes on
    // little-endian machines, so swap to RGB order and drop the unused fourth byte.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < screen.height; ++y) {
        const uint32_t* row = screen.data + static_cast<ptrdiff_t>(y) * screen.stride;
        png_write_row(png, reinterpret_cast<png_const_bytep>(row));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::string errno_text(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool write_png_atomically(const Pixels& screen, const std::string& path, std::string* why)
{
    if (screen.data == nullptr || screen.width <= 0 || screen.height <= 0 || screen.stride < screen.width) {
        *why = "no screen to write";
        return false;
    }
    // The picture replaces only a file of this user's, never a device node, a link or
    // someone else's file that the variable happens to name.
    struct stat target {};
    if (::lstat(path.c_str(), &target) == 0 && (!S_ISREG(target.st_mode) || target.st_uid != ::geteuid())) {
        *why = path + " is not a regular file of this user; nothing written";
        return false;
    }
    // One temporary name per process: two writers of the same target never share a
    // file. Made afresh, so that a link put there is not followed.
    std::string temp = path + "." + std::to_string(::getpid()) + ".tmp";
    ::unlink(temp.c_str());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        *why = errno_text("cannot create", temp);
        return false;
    }
    FILE* out = ::fdopen(fd, "wb");
    if (out == nullptr) {
        *why = errno_text("cannot open", temp);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    bool encoded = encode(out, screen);
    bool written = std::fflush(out) == 0 && std::ferror(out) == 0;
    if (!written)
        *why = errno_text("cannot write", temp);
    if (std::fclose(out) != 0 && written) {
        written = false;
        *why = errno_text("cannot write", temp);
    }
    if (!encoded || !written) {
        if (written)
            *why = "cannot encode " + temp;
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        *why = errno_text("cannot replace", path);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace tickvane::display
