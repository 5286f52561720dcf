#pragma once
// The two element lists the model moves items between, and the kinds of
// message box it asks for. The window implements the lists with widgets;
// form/memory_views.h holds the in-memory ones of the command line and tests.

#include <string>
#include <string_view>

namespace qv {

enum class MessageIcon { None, Exclamation, Information, Error };

// Title of the application's own message boxes.
inline constexpr std::string_view kAppTitle = "Quorvex";

// State image of an element item: the legend's two markers.
inline constexpr int kNonMetalImage = 1;
inline constexpr int kMetalImage = 2;

// One of the Include / Exclude lists: a list sorted ascending by item text,
// several items may be selected. Positions are 0-based in display order.
class ElementListView {
public:
    virtual ~ElementListView() = default;

    // False when the list refuses the item.
    virtual bool addItem(std::string_view symbol, int stateImage, int elementIndex) = 0;
    // Position of the item whose text equals the symbol exactly, or -1.
    virtual int findItem(std::string_view symbol) const = 0;
    // False when there is no such item or the list refuses.
    virtual bool deleteItem(int position) = 0;
    virtual int itemCount() const = 0;
    // Element index stored with the item, or -1 when there is no such item.
    virtual int itemData(int position) const = 0;
    virtual std::string itemText(int position) const = 0;
    // Position of the first selected item, or -1.
    virtual int firstSelected() const = 0;
    virtual int selectedCount() const = 0;
    virtual void setSelected(int position, bool selected) = 0;
};

}  // namespace qv
