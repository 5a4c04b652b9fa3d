// Little-endian reading of resource templates (dialogs, menus) that never goes past
// the end: a read that would sets `ok` to false and yields zeros from then on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "res/res_file.h"

namespace tickvane::device {

class TemplateReader {
public:
    TemplateReader(const uint8_t* bytes, size_t size) : p_(bytes), size_(bytes == nullptr ? 0 : size) {}

    bool ok() const { return ok_; }
    size_t offset() const { return at_; }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int16_t i16() { return (int16_t)u16(); }
    // Bytes [at, at + n) copied out; fails when fewer remain.
    std::vector<uint8_t> bytes(size_t n);
    // A NUL-terminated UTF-16 string; fails when the terminator is missing.
    std::u16string string();
    // A field that is an ordinal (0xFFFF, value) or a string. A lone 0x0000 reads as
    // ordinal 0 (a name field left out) or, with `empty_is_text`, as the empty string.
    ResId string_or_ordinal(bool empty_is_text = false);
    // Skips to the next multiple of four from the start of the template.
    void align4();

private:
    bool need(size_t n);

    const uint8_t* p_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace tickvane::device
