#include "dib_encoding.h"

#include <stdexcept>

namespace tickvane::glyphgen {
namespace {

void WritePackedRow(ByteWriter& out, const IndexedImage& image, int y, int bitsPerPixel)
{
    const int perByte = 8 / bitsPerPixel;
    for (int x = 0; x < image.width(); x += perByte) {
        unsigned byte = 0;
        for (int i = 0; i < perByte; ++i) {
            const unsigned index = x + i < image.width() ? image.at(x + i, y) : 0u;
            byte |= index << (8 - bitsPerPixel * (i + 1));
        }
        out.U8(static_cast<std::uint8_t>(byte));
    }
}

void WriteTrueColourRow(ByteWriter& out, const IndexedImage& image, int y)
{
    for (int x = 0; x < image.width(); ++x) {
        const Rgb& c = image.palette()[image.at(x, y)];
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
    }
}

}  // namespace

std::uint32_t DibStride(int width, int bitsPerPixel)
{
    const auto bits = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

void WriteInfoHeader(ByteWriter& out, int width, int storedHeight, int bitsPerPixel, std::uint32_t imageSize,
                     std::uint32_t coloursUsed)
{
    out.U32(kInfoHeaderSize);
    out.I32(width);
    out.I32(storedHeight);  // positive: rows are stored bottom-up
    out.U16(1);             // planes
    out.U16(static_cast<std::uint16_t>(bitsPerPixel));
    out.U32(0);  // BI_RGB, uncompressed
    out.U32(imageSize);
    out.I32(0);  // no preferred resolution
    out.I32(0);
    out.U32(coloursUsed);
    out.U32(0);  // all colours important
}

void WritePalette(ByteWriter& out, const std::vector<Rgb>& palette)
{
    for (const Rgb& c : palette) {
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
}

void WritePixels(ByteWriter& out, const IndexedImage& image, int bitsPerPixel)
{
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        throw std::invalid_argument("unsupported bit depth");
    if (bitsPerPixel < 24 && image.palette().size() > (1u << bitsPerPixel))
        throw std::invalid_argument("palette too large for bit depth");
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        if (bitsPerPixel == 24)
            WriteTrueColourRow(out, image, y);
        else
            WritePackedRow(out, image, y, bitsPerPixel);
        while (out.size() - rowStart < DibStride(image.width(), bitsPerPixel))
            out.U8(0);
    }
}

}  // namespace tickvane::glyphgen
