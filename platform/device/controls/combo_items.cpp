#include "controls/combo_items.h"

#include <algorithm>

namespace tickvane::device {

namespace {

char16_t folded(char16_t c) { return c >= u'a' && c <= u'z' ? (char16_t)(c - u'a' + u'A') : c; }

bool sorts_before(const std::u16string& a, const std::u16string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return folded(x) < folded(y); });
}

}  // namespace

int ComboItems::insert(int position, std::u16string text)
{
    if (position == -1)
        position = count();
    if (position < 0 || position > count())
        return kError;
    items_.insert(items_.begin() + position, std::move(text));
    if (selected_ >= position)
        ++selected_;
    return position;
}

int ComboItems::add(std::u16string text, bool sorted)
{
    if (!sorted)
        return insert(-1, std::move(text));
    auto at = std::upper_bound(items_.begin(), items_.end(), text, sorts_before);
    return insert((int)(at - items_.begin()), std::move(text));
}

int ComboItems::erase(int index)
{
    if (!valid(index))
        return kError;
    items_.erase(items_.begin() + index);
    if (selected_ == index)
        selected_ = kError;
    else if (selected_ > index)
        --selected_;
    return count();
}

void ComboItems::clear()
{
    items_.clear();
    selected_ = kError;
}

int ComboItems::select(int index)
{
    selected_ = valid(index) ? index : kError;
    return selected_;
}

}  // namespace tickvane::device
