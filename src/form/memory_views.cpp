#include "form/memory_views.h"

#include <algorithm>

#include "form/edit/formula_editing.h"
#include "form/element_lists.h"
#include "form/model.h"

namespace qv {

// ---- MemoryElementList ----

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

// ---- MemoryFormView ----

MemoryFormView::MemoryFormView(Model& model, MemoryElementList& include, MemoryElementList& exclude)
    : model_(model) {
    model_.form = this;
    model_.includeList = &include;
    model_.excludeList = &exclude;
}

MemoryFormView::~MemoryFormView() {
    if (model_.form == this) {
        model_.form = nullptr;
        model_.includeList = nullptr;
        model_.excludeList = nullptr;
    }
}

void MemoryFormView::setControlText(ControlId id, std::string_view text) {
    log.push_back(std::to_string(static_cast<int>(id)) + "=" + std::string(text));
    switch (id) {
    case ControlId::FinalCompound: setText(model_.finalCompound, text); return;
    case ControlId::Difference: setText(model_.difference, text); return;
    case ControlId::FinalRatio:
        texts_[id] = std::string(text);
        // An edit notifies its parent of every change, programmatic or typed.
        finalRatioChanged(model_, text);
        return;
    default: texts_[id] = std::string(text); return;
    }
}

std::string MemoryFormView::controlText(ControlId id) const {
    if (id == ControlId::FinalCompound) return model_.finalCompound.text();
    if (id == ControlId::Difference) return model_.difference.text();
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

void MemoryFormView::enableOutput(bool enabled) {
    outputEnabled_ = enabled;
    log.push_back(enabled ? "output=1" : "output=0");
}

void MemoryFormView::repaintSourceList() { log.push_back("repaint-list"); }

void MemoryFormView::refreshRatioEditor() {
    log.push_back("refresh-ratio-editor");
    if (ratioEditorRow < 0 || ratioEditorRow >= kSourceRows) return;
    const Formula& row = model_.source(ratioEditorRow);
    model_.editorUpdateGuard = true;
    if (!row.fixed) ratioEditorText = row.ratioText;
    model_.editorUpdateGuard = false;
}

void MemoryFormView::repaint() { log.push_back("repaint"); }

void MemoryFormView::setFocus(ControlId id) {
    focus = static_cast<int>(id);
    log.push_back("focus=" + std::to_string(focus));
}

void MemoryFormView::messageBox(std::string_view text, std::string_view title, MessageIcon icon) {
    log.push_back("message=" + std::string(text));
    messages.push_back({std::string(text), std::string(title), icon});
}

void MemoryFormView::fatal(std::string_view text, int exitCode) {
    log.push_back("fatal=" + std::to_string(exitCode) + ":" + std::string(text));
    fatals.push_back({std::string(text), exitCode});
    if (onFatal) onFatal(text, exitCode);
}

}  // namespace qv
