#include "ico_file.h"

#include "byte_writer.h"
#include "dib_encoding.h"

#include <stdexcept>

namespace tickvane::glyphgen {
namespace {

constexpr std::uint32_t kDirSize = 6;
constexpr std::uint32_t kEntrySize = 16;

std::vector<std::uint8_t> EncodeIconDib(const IconImage& icon)
{
    const IndexedImage& c = icon.colours;
    if (c.width() > 255 || c.height() > 255 || icon.transparent.width() != c.width() ||
        icon.transparent.height() != c.height() || c.palette().size() != (1u << icon.bitsPerPixel))
        throw std::invalid_argument("malformed icon image");
    const auto rows = static_cast<std::uint32_t>(c.height());
    const std::uint32_t xorAndMask = DibStride(c.width(), icon.bitsPerPixel) + DibStride(c.width(), 1);
    const std::uint32_t imageSize = xorAndMask * rows;
    ByteWriter out;
    WriteInfoHeader(out, c.width(), 2 * c.height(), icon.bitsPerPixel, imageSize, 0);
    WritePalette(out, c.palette());
    WritePixels(out, c, icon.bitsPerPixel);
    WritePixels(out, icon.transparent, 1);
    return out.bytes();
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images)
{
    std::vector<std::vector<std::uint8_t>> dibs;
    for (const IconImage& image : images)
        dibs.push_back(EncodeIconDib(image));

    ByteWriter out;
    out.U16(0);  // reserved
    out.U16(1);  // icon, not cursor
    out.U16(static_cast<std::uint16_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(kDirSize + kEntrySize * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        out.U8(static_cast<std::uint8_t>(image.colours.width()));
        out.U8(static_cast<std::uint8_t>(image.colours.height()));
        out.U8(static_cast<std::uint8_t>(image.colours.palette().size()));
        out.U8(0);   // reserved
        out.U16(1);  // planes
        out.U16(static_cast<std::uint16_t>(image.bitsPerPixel));
        out.U32(static_cast<std::uint32_t>(dibs[i].size()));
        out.U32(offset);
        offset += static_cast<std::uint32_t>(dibs[i].size());
    }
    for (const auto& dib : dibs)
        out.Append(dib);
    return out.bytes();
}

}  // namespace tickvane::glyphgen
