#include "resource_readers.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tickvane::restest {

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint16_t U16(const Bytes& b, std::size_t at)
{
    if (at + 2 > b.size())
        throw std::out_of_range("read past end");
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

Bmp DecodeBmp(const Bytes& f)
{
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M')
        throw std::runtime_error("not a BMP");
    Bmp bmp{U32(f, 2),
            U32(f, 10),
            U32(f, 14),
            U32(f, 30),
            U32(f, 34),
            U32(f, 46),
            static_cast<std::int32_t>(U32(f, 18)),
            static_cast<std::int32_t>(U32(f, 22)),
            U16(f, 26),
            U16(f, 28),
            {},
            {}};
    if (bmp.bitsPerPixel != 8 && bmp.bitsPerPixel != 24)
        throw std::runtime_error("unsupported depth");
    if (bmp.width <= 0 || bmp.height <= 0)
        throw std::runtime_error("not bottom-up");
    for (std::uint32_t i = 0; i < bmp.coloursUsed; ++i) {
        const std::size_t at = 14 + bmp.infoSize + 4 * i;
        bmp.palette.push_back({f.at(at + 2), f.at(at + 1), f.at(at)});
    }
    const std::size_t stride = (static_cast<std::size_t>(bmp.width) * bmp.bitsPerPixel + 31) / 32 * 4;
    for (int y = 0; y < bmp.height; ++y) {
        const std::size_t row = bmp.pixelOffset + static_cast<std::size_t>(bmp.height - 1 - y) * stride;
        for (int x = 0; x < bmp.width; ++x) {
            if (bmp.bitsPerPixel == 8) {
                bmp.pixels.push_back(bmp.palette.at(f.at(row + static_cast<std::size_t>(x))));
            } else {
                const std::size_t at = row + 3 * static_cast<std::size_t>(x);
                bmp.pixels.push_back({f.at(at + 2), f.at(at + 1), f.at(at)});
            }
        }
    }
    return bmp;
}

namespace {

// A type or name field: 0xFFFF then a 16-bit id, or a zero-terminated UTF-16 string.
std::optional<std::uint16_t> ReadIdentifier(const Bytes& res, std::size_t& at)
{
    if (U16(res, at) == 0xFFFF) {
        const std::uint16_t id = U16(res, at + 2);
        at += 4;
        return id;
    }
    while (U16(res, at) != 0)
        at += 2;
    at += 2;
    return std::nullopt;
}

}  // namespace

std::vector<ResEntry> ParseRes(const Bytes& res)
{
    std::vector<ResEntry> entries;
    std::size_t at = 0;
    while (at < res.size()) {
        ResEntry e{U32(res, at), U32(res, at + 4), {}, {}, {}};
        std::size_t field = at + 8;
        e.typeId = ReadIdentifier(res, field);
        e.nameId = ReadIdentifier(res, field);
        const std::size_t data = at + e.headerSize;
        if (e.headerSize < 8 || data + e.dataSize > res.size())
            throw std::runtime_error("truncated .res");
        e.data.assign(res.begin() + static_cast<std::ptrdiff_t>(data),
                      res.begin() + static_cast<std::ptrdiff_t>(data + e.dataSize));
        at = (data + e.dataSize + 3) / 4 * 4;
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace tickvane::restest
