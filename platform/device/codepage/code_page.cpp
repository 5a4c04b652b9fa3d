#include "codepage/code_page.h"

#include "codepage/cp932.h"
#include "codepage/utf8.h"

namespace tickvane::device {

namespace {

DecodedChar decode_932(std::string_view bytes)
{
    DecodedChar d;
    d.unit_count = 1;
    auto lead = (unsigned char)bytes[0];
    if (!cp932::is_lead_byte(lead)) {
        d.units[0] = cp932::decode_single(lead);
        d.byte_count = 1;
        d.valid = cp932::single_is_strict(lead);
        return d;
    }
    // A lead byte takes any following byte but NUL, named character or not.
    if (bytes.size() < 2 || bytes[1] == '\0') {
        d.units[0] = cp932::default_unicode_char;
        d.byte_count = 1;
        d.valid = false;
        return d;
    }
    auto named = cp932::decode_pair(lead, (unsigned char)bytes[1]);
    d.units[0] = named.value_or(cp932::default_unicode_char);
    d.byte_count = 2;
    d.valid = named.has_value();
    return d;
}

EncodedChar encode_932(char16_t unit, std::string_view default_bytes)
{
    EncodedChar e;
    e.unit_count = 1;
    auto code = cp932::encode(unit);
    if (!code) {
        for (char b : default_bytes)
            e.bytes[e.byte_count++] = b;
        e.substituted = true;
    } else if (*code > 0xFF) {
        e.bytes[e.byte_count++] = (char)(unsigned char)(*code >> 8);
        e.bytes[e.byte_count++] = (char)(unsigned char)(*code & 0xFF);
    } else {
        e.bytes[e.byte_count++] = (char)(unsigned char)*code;
    }
    return e;
}

}  // namespace

std::optional<CodePage> code_page_from(UINT code_page)
{
    switch (code_page) {
    case CP_ACP:
    case 932:
        return CodePage::ansi_932;
    case CP_UTF8:
        return CodePage::utf8;
    default:
        return std::nullopt;
    }
}

DecodedChar decode_char(CodePage page, std::string_view bytes)
{
    return page == CodePage::utf8 ? utf8::decode(bytes) : decode_932(bytes);
}

EncodedChar encode_char(CodePage page, std::u16string_view units, std::string_view default_bytes)
{
    return page == CodePage::utf8 ? utf8::encode(units) : encode_932(units[0], default_bytes);
}

std::u16string wide_from_ansi(std::string_view bytes)
{
    std::u16string out;
    while (!bytes.empty()) {
        DecodedChar d = decode_char(CodePage::ansi_932, bytes);
        out.append(d.units, (size_t)d.unit_count);
        bytes.remove_prefix(d.byte_count);
    }
    return out;
}

}  // namespace tickvane::device
