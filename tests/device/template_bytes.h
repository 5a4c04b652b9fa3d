// Little-endian byte strings for hand-made resource templates in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TemplateBytes {
    std::vector<uint8_t> b;

    TemplateBytes& u8(unsigned v)
    {
        b.push_back((uint8_t)v);
        return *this;
    }
    TemplateBytes& u16(unsigned v) { return u8(v & 0xFF).u8(v >> 8 & 0xFF); }
    TemplateBytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    TemplateBytes& str(std::u16string_view s)
    {
        for (char16_t c : s)
            u16(c);
        return u16(0);
    }
    TemplateBytes& ordinal(unsigned v) { return u16(0xFFFF).u16(v); }
    TemplateBytes& align4()
    {
        while (b.size() % 4 != 0)
            u8(0);
        return *this;
    }
};

// The first `n` bytes in a buffer of exactly that size, so that a read past the end
// lands outside the allocation (where sanitizers and valgrind see it).
inline std::vector<uint8_t> prefix(const uint8_t* bytes, size_t n) { return std::vector<uint8_t>(bytes, bytes + n); }
