// Just enough of the BMP, ICO and .res formats to check what the generator and windres produced.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tickvane::restest {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path);
std::uint16_t U16(const Bytes& b, std::size_t at);  // little-endian; throws past the end
std::uint32_t U32(const Bytes& b, std::size_t at);

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Bmp {
    std::uint32_t fileSize, pixelOffset, infoSize, compression, imageSize, coloursUsed;
    std::int32_t width, height;
    std::uint16_t planes, bitsPerPixel;
    std::vector<Rgb> palette;
    std::vector<Rgb> pixels;  // top row first, whatever the storage order
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Decodes an uncompressed bottom-up 8- or 24-bit .bmp; throws on anything else.
Bmp DecodeBmp(const Bytes& file);

struct ResEntry {
    std::uint32_t dataSize, headerSize;
    std::optional<std::uint16_t> typeId, nameId;  // empty when the type or name is a string
    Bytes data;
};

// Every entry of a .res file in order, the leading empty entry included.
std::vector<ResEntry> ParseRes(const Bytes& res);

}  // namespace tickvane::restest
