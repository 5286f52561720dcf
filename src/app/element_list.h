#pragma once
// The Include / Exclude list widgets as the model's element lists: items
// sorted by symbol, the legend's marker as icon, the element index as data.

#include <string>

#include "form/form_view.h"

class QListWidget;

namespace qv::app {

class ElementList : public ElementListView {
public:
    explicit ElementList(QListWidget* widget) : widget_(widget) {}

    bool addItem(std::string_view symbol, int stateImage, int elementIndex) override;
    int findItem(std::string_view symbol) const override;
    bool deleteItem(int position) override;
    int itemCount() const override;
    int itemData(int position) const override;
    std::string itemText(int position) const override;
    int firstSelected() const override;
    int selectedCount() const override;
    void setSelected(int position, bool selected) override;

    QListWidget* widget() const { return widget_; }

private:
    QListWidget* widget_;
};

}  // namespace qv::app
