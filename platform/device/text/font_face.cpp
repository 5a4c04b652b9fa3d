#include "text/font_face.h"

#include FT_TRUETYPE_TABLES_H

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tickvane::text {

namespace {

// FreeType's stream callback: a read of `count` bytes at `offset`, or with count 0
// a seek, which reports failure by a non-zero result.
unsigned long read_stream(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count)
{
    if (count == 0)
        return offset > stream->size ? 1 : 0;
    const int fd = static_cast<int>(stream->descriptor.value);
    unsigned long done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<unsigned long>(got);
    }
    return done;
}

// The face owns the descriptor; FreeType must not close anything.
void close_stream(FT_Stream) {}

int round_26_6(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

}  // namespace

std::unique_ptr<FontFace> FontFace::open(const FontFile& file)
{
    std::unique_ptr<FontFace> font(new FontFace());
    font->fd_ = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (font->fd_ < 0 || fstat(font->fd_, &info) != 0 || info.st_size <= 0)
        return nullptr;
    font->stream_.size = static_cast<unsigned long>(info.st_size);
    font->stream_.descriptor.value = font->fd_;
    font->stream_.read = read_stream;
    font->stream_.close = close_stream;
    if (FT_Init_FreeType(&font->library_) != 0) {
        font->library_ = nullptr;
        return nullptr;
    }
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &font->stream_;
    if (FT_Open_Face(font->library_, &args, file.index, &font->face_) != 0) {
        font->face_ = nullptr;
        return nullptr;
    }
    // Pick a Unicode charmap when the font has one (FreeType prefers it already, but
    // some fonts list a legacy one first).
    FT_Select_Charmap(font->face_, FT_ENCODING_UNICODE);
    return font;
}

FontFace::~FontFace()
{
    if (face_ != nullptr)
        FT_Done_Face(face_);
    if (library_ != nullptr)
        FT_Done_FreeType(library_);
    if (fd_ >= 0)
        ::close(fd_);
}

bool FontFace::use_pixel_size(int pixel_size)
{
    if (pixel_size == pixel_size_)
        return true;
    if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixel_size)) != 0)
        return false;
    pixel_size_ = pixel_size;
    return true;
}

LineMetrics FontFace::line_metrics() const
{
    const FT_Size_Metrics& m = face_->size->metrics;
    LineMetrics line{round_26_6(m.ascender), round_26_6(-m.descender), 0};
    line.gdi_height = line.ascent + line.descent;
    auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        line.gdi_height = round_26_6(FT_MulFix(os2->usWinAscent, m.y_scale)) +
                          round_26_6(FT_MulFix(os2->usWinDescent, m.y_scale));
    return line;
}

}  // namespace tickvane::text
