#include "res/res_file.h"

#include <cstring>

#include "codepage/unicode.h"

namespace tickvane::device {

namespace {

struct Reader {
    const uint8_t* p;
    size_t size;
    size_t at = 0;
    bool ok = true;

    uint32_t u32()
    {
        if (at + 4 > size) {
            ok = false;
            return 0;
        }
        uint32_t v = (uint32_t)p[at] | (uint32_t)p[at + 1] << 8 | (uint32_t)p[at + 2] << 16 | (uint32_t)p[at + 3] << 24;
        at += 4;
        return v;
    }
    uint16_t u16()
    {
        if (at + 2 > size) {
            ok = false;
            return 0;
        }
        uint16_t v = (uint16_t)(p[at] | p[at + 1] << 8);
        at += 2;
        return v;
    }
    ResId id()
    {
        ResId r;
        uint16_t first = u16();
        if (first == 0xFFFF) {
            r.ordinal = u16();
            return r;
        }
        r.is_ordinal = false;
        for (uint16_t c = first; ok && c != 0; c = u16())
            r.text += (char16_t)c;
        return r;
    }
};

size_t align4(size_t n) { return (n + 3) & ~(size_t)3; }

}  // namespace

std::vector<ResEntry> parse_res(const uint8_t* bytes, size_t size)
{
    std::vector<ResEntry> entries;
    size_t offset = 0;
    while (bytes != nullptr && offset + 8 <= size) {
        Reader head{bytes + offset, size - offset};
        uint32_t data_size = head.u32();
        uint32_t header_size = head.u32();
        if (header_size < 16 || (uint64_t)header_size + data_size > size - offset)
            break;
        head.size = header_size;  // names must end inside the header
        ResEntry e;
        e.type = head.id();
        e.name = head.id();
        head.at = align4(head.at);
        head.u32();  // data version
        head.u16();  // memory flags
        e.language = head.u16();
        if (!head.ok)
            break;
        e.data = bytes + offset + header_size;
        e.size = data_size;
        bool placeholder = e.type.is_ordinal && e.type.ordinal == 0 && data_size == 0;
        if (!placeholder)
            entries.push_back(e);
        offset = align4(offset + header_size + data_size);
    }
    return entries;
}

bool res_id_matches(const ResId& id, const char16_t* wanted)
{
    uintptr_t value = (uintptr_t)wanted;
    if ((value >> 16) == 0)
        return id.is_ordinal && id.ordinal == (uint16_t)value;
    std::u16string text(wanted);
    if (!text.empty() && text[0] == u'#') {
        unsigned long n = 0;
        for (size_t i = 1; i < text.size() && n <= 0xFFFF; ++i) {
            if (text[i] < u'0' || text[i] > u'9')
                return false;
            n = n * 10 + (unsigned long)(text[i] - u'0');
        }
        return id.is_ordinal && n <= 0xFFFF && id.ordinal == n;
    }
    return !id.is_ordinal && same_name_ignoring_case(id.text, text);
}

}  // namespace tickvane::device
