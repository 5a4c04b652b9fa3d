#include "shell_link.h"

#include <cstdint>

namespace tickvane::wine {
namespace {

const uint32_t kHeaderSize = 0x4C;
const uint32_t kHasTargetIdList = 1, kHasLinkInfo = 2;

std::optional<uint32_t> little_endian(const std::string& bytes, size_t at, int size)
{
    if (at + size > bytes.size())
        return std::nullopt;
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | (unsigned char)bytes[at + i];
    return value;
}

std::optional<std::string> c_string(const std::string& bytes, size_t at)
{
    size_t end = at < bytes.size() ? bytes.find('\0', at) : std::string::npos;
    if (end == std::string::npos)
        return std::nullopt;
    return bytes.substr(at, end - at);
}

}  // namespace

std::optional<std::string> shortcut_target(const std::string& bytes)
{
    auto header = little_endian(bytes, 0, 4), flags = little_endian(bytes, 0x14, 4);
    if (header != kHeaderSize || !flags || !(*flags & kHasLinkInfo))
        return std::nullopt;
    size_t info = kHeaderSize;
    if (*flags & kHasTargetIdList) {
        auto idListSize = little_endian(bytes, info, 2);
        if (!idListSize)
            return std::nullopt;
        info += 2 + *idListSize;
    }
    auto basePath = little_endian(bytes, info + 16, 4), suffix = little_endian(bytes, info + 24, 4);
    if (!basePath || !suffix || *basePath == 0)
        return std::nullopt;
    auto base = c_string(bytes, info + *basePath), rest = c_string(bytes, info + *suffix);
    if (!base || !rest)
        return std::nullopt;
    return *base + *rest;
}

}  // namespace tickvane::wine
