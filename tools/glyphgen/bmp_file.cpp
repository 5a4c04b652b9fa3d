#include "bmp_file.h"

#include "dib_encoding.h"

namespace tickvane::glyphgen {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;

std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image, int bitsPerPixel)
{
    const bool paletted = bitsPerPixel <= 8;
    const auto colours = paletted ? static_cast<std::uint32_t>(image.palette().size()) : 0u;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * colours;
    const std::uint32_t imageSize = DibStride(image.width(), bitsPerPixel) * static_cast<std::uint32_t>(image.height());

    ByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(pixelOffset + imageSize);
    out.U32(0);  // two reserved words
    out.U32(pixelOffset);
    WriteInfoHeader(out, image.width(), image.height(), bitsPerPixel, imageSize, colours);
    if (paletted)
        WritePalette(out, image.palette());
    WritePixels(out, image, bitsPerPixel);
    return out.bytes();
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp8(const IndexedImage& image) { return EncodeBmp(image, 8); }

std::vector<std::uint8_t> EncodeBmp24(const IndexedImage& image) { return EncodeBmp(image, 24); }

}  // namespace tickvane::glyphgen
