// The compiled resource file (.res, as windres and rc write it), parsed in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tickvane::device {

// A resource type or name: an ordinal, or a string compared without case.
struct ResId {
    bool is_ordinal = true;
    uint16_t ordinal = 0;
    std::u16string text;
};

struct ResEntry {
    ResId type;
    ResId name;
    uint16_t language = 0;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
};

// Every well-formed entry of `bytes`; parsing stops quietly at the first entry that
// runs past the end, so damaged input yields what came before it.
std::vector<ResEntry> parse_res(const uint8_t* bytes, size_t size);

// Matches the name or type as a program passes it: MAKEINTRESOURCE value, "#123", or a string.
bool res_id_matches(const ResId& id, const char16_t* wanted);

}  // namespace tickvane::device
