#include "form/memory_views.h"

#include <algorithm>

namespace qv {

bool MemoryElementList::addItem(std::string_view symbol, int stateImage, int elementIndex) {
    if (refuseAdd) return false;
    Item item{std::string(symbol), stateImage, elementIndex, false};
    // Equal texts keep insertion order, like a sorted list view.
    auto at = std::upper_bound(items_.begin(), items_.end(), item.text,
                               [](const std::string& t, const Item& i) { return t < i.text; });
    items_.insert(at, std::move(item));
    return true;
}

int MemoryElementList::findItem(std::string_view symbol) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].text == symbol) return static_cast<int>(i);
    return -1;
}

bool MemoryElementList::deleteItem(int position) {
    if (refuseDelete || position < 0 || position >= itemCount()) return false;
    items_.erase(items_.begin() + position);
    return true;
}

int MemoryElementList::itemData(int position) const {
    if (position < 0 || position >= itemCount()) return -1;
    return items_[static_cast<std::size_t>(position)].elementIndex;
}

std::string MemoryElementList::itemText(int position) const {
    if (position < 0 || position >= itemCount()) return {};
    return items_[static_cast<std::size_t>(position)].text;
}

int MemoryElementList::firstSelected() const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].selected) return static_cast<int>(i);
    return -1;
}

int MemoryElementList::selectedCount() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.selected; }));
}

void MemoryElementList::setSelected(int position, bool selected) {
    if (position < 0 || position >= itemCount()) return;
    items_[static_cast<std::size_t>(position)].selected = selected;
}

bool MemoryElementList::select(std::string_view symbol) {
    int at = findItem(symbol);
    if (at < 0) return false;
    setSelected(at, true);
    return true;
}

std::vector<std::string> MemoryElementList::texts() const {
    std::vector<std::string> out;
    out.reserve(items_.size());
    for (const Item& i : items_) out.push_back(i.text);
    return out;
}

}  // namespace qv
