#pragma once
// In-memory element lists: what the command line and the tests use in place
// of the window's list widgets.

#include <string>
#include <string_view>
#include <vector>

#include "form/form_view.h"

namespace qv {

class MemoryElementList : public ElementListView {
public:
    struct Item {
        std::string text;
        int stateImage = 0;
        int elementIndex = -1;
        bool selected = false;
    };

    bool addItem(std::string_view symbol, int stateImage, int elementIndex) override;
    int findItem(std::string_view symbol) const override;
    bool deleteItem(int position) override;
    int itemCount() const override { return static_cast<int>(items_.size()); }
    int itemData(int position) const override;
    std::string itemText(int position) const override;
    int firstSelected() const override;
    int selectedCount() const override;
    void setSelected(int position, bool selected) override;

    // Select the item with this text; false when there is none.
    bool select(std::string_view symbol);
    const std::vector<Item>& items() const { return items_; }
    // The item texts in display order, e.g. {"Ba", "Ti"}.
    std::vector<std::string> texts() const;

    // Make the list refuse new items or deletions, as a failing control would.
    bool refuseAdd = false;
    bool refuseDelete = false;

private:
    std::vector<Item> items_;  // ascending by text, byte order
};

}  // namespace qv
