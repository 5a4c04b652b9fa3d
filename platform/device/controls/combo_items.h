// The items of a combo box and which one is selected. Positions given by the caller
// are kept, sorted style or not; only adding without a position sorts.
#pragma once

#include <string>
#include <vector>

namespace tickvane::device {

class ComboItems {
public:
    static constexpr int kError = -1;  // CB_ERR

    // At `position` (-1: the end); kError past the end. Returns where it went.
    int insert(int position, std::u16string text);
    // In sorted order (case ignored, after equal items) or at the end.
    int add(std::u16string text, bool sorted);
    // Returns the number of items left, or kError for no such item.
    int erase(int index);
    void clear();

    int count() const { return (int)items_.size(); }
    bool valid(int index) const { return index >= 0 && index < count(); }
    const std::u16string& at(int index) const { return items_[(size_t)index]; }

    int selected() const { return selected_; }
    // Out of range selects nothing and returns kError.
    int select(int index);

private:
    std::vector<std::u16string> items_;
    int selected_ = kError;
};

}  // namespace tickvane::device
