#include "res/template_reader.h"

namespace tickvane::device {

bool TemplateReader::need(size_t n)
{
    if (!ok_ || n > size_ - at_) {
        ok_ = false;
        return false;
    }
    return true;
}

uint8_t TemplateReader::u8()
{
    if (!need(1))
        return 0;
    return p_[at_++];
}

uint16_t TemplateReader::u16()
{
    if (!need(2))
        return 0;
    auto v = (uint16_t)(p_[at_] | p_[at_ + 1] << 8);
    at_ += 2;
    return v;
}

uint32_t TemplateReader::u32()
{
    uint32_t low = u16();
    uint32_t high = u16();
    return low | high << 16;
}

std::vector<uint8_t> TemplateReader::bytes(size_t n)
{
    if (!need(n))
        return {};
    std::vector<uint8_t> out(p_ + at_, p_ + at_ + n);
    at_ += n;
    return out;
}

std::u16string TemplateReader::string()
{
    std::u16string s;
    for (uint16_t c = u16(); ok_ && c != 0; c = u16())
        s += (char16_t)c;
    return s;
}

ResId TemplateReader::string_or_ordinal(bool empty_is_text)
{
    ResId id;
    uint16_t first = u16();
    if (first == 0xFFFF) {
        id.ordinal = u16();
        return id;
    }
    if (first == 0) {
        id.is_ordinal = !empty_is_text;
        return id;
    }
    id.is_ordinal = false;
    id.text += (char16_t)first;
    id.text += string();
    return id;
}

void TemplateReader::align4()
{
    size_t aligned = (at_ + 3) & ~(size_t)3;
    if (aligned > size_) {
        ok_ = false;
        return;
    }
    at_ = aligned;
}

}  // namespace tickvane::device
