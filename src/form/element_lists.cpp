#include "form/element_lists.h"

#include <string>

#include "form/form_view.h"
#include "form/model.h"

namespace qv {

namespace {

void showMessage(Model& model, const std::string& text) { model.message(text); }

ElementListView* listFor(Model& model, int element) {
    return model.elementTable().included(element) ? model.includeList() : model.excludeList();
}

void addElementItem(Model& model, ElementListView* list, int element) {
    if (list == nullptr) return;
    const Element& e = model.elementTable().element(element);
    if (!list->addItem(e.symbol, e.metal ? kMetalImage : kNonMetalImage, element))
        showMessage(model, "Couldn't add data to the element list.");
}

void removeElementItem(Model& model, ElementListView* list, int element) {
    if (list == nullptr) return;
    const std::string& symbol = model.elementTable().symbol(element);
    const int position = list->findItem(symbol);
    if (position < 0) {
        showMessage(model, "Couldn't find '" + symbol + "' in the element list for deletion.");
        return;
    }
    if (!list->deleteItem(position))
        showMessage(model, "Couldn't delete '" + symbol + "' from the element list.");
}

bool validElement(const Model& model, int element) {
    return element >= 0 && element < model.elementTable().count();
}

}  // namespace

void registerElements(Model& model, const Composition& composition) {
    for (const auto& [element, amount] : composition) {
        (void)amount;
        if (!validElement(model, element)) continue;
        auto it = model.elementUse_.find(element);
        if (it != model.elementUse_.end()) {
            ++it->second;
            continue;
        }
        model.elementUse_.emplace(element, 1);
        addElementItem(model, listFor(model, element), element);
    }
}

void releaseElements(Model& model, const Composition& composition) {
    for (const auto& [element, amount] : composition) {
        (void)amount;
        auto it = model.elementUse_.find(element);
        if (it == model.elementUse_.end()) continue;
        if (it->second > 1) {
            --it->second;
            continue;
        }
        model.elementUse_.erase(it);
        removeElementItem(model, listFor(model, element), element);
    }
}

bool moveElementItem(Model& model, ElementListView& list, int position) {
    const int element = list.itemData(position);
    if (!validElement(model, element)) return false;
    // A list that keeps the item would otherwise be moved from forever by
    // moveAllElements, and the element would show in both lists.
    if (!list.deleteItem(position)) return false;
    const bool fromInclude = &list == model.includeList();
    model.elementTable().setIncluded(element, !fromInclude);
    addElementItem(model, fromInclude ? model.excludeList() : model.includeList(), element);
    return true;
}

int moveSelectedElements(Model& model, ElementListView& list) {
    if (list.firstSelected() < 0) return 0;
    model.setOutputEnabled(false);
    int moved = 0;
    for (int position = list.firstSelected(); position >= 0; position = list.firstSelected()) {
        if (!moveElementItem(model, list, position)) break;
        ++moved;
    }
    if (moved > 0) recomputeCompositions(model);
    return moved;
}

int moveAllElements(Model& model, ElementListView& list) {
    if (list.itemCount() == 0) return 0;
    model.setOutputEnabled(false);
    int moved = 0;
    while (moveElementItem(model, list, 0)) ++moved;
    if (moved > 0) recomputeCompositions(model);
    return moved;
}

void recomputeCompositions(Model& model) {
    model.finalCompound().recomputeComposition();
    for (int row = 0; row < kSourceRows; ++row) model.source(row).recomputeComposition();
}

void rebuildElementLists(Model& model) {
    for (ElementListView* list : {model.includeList(), model.excludeList()}) {
        if (list == nullptr) continue;
        while (list->itemCount() > 0 && list->deleteItem(list->itemCount() - 1)) {}
    }
    for (const auto& [element, count] : model.elementUse()) {
        (void)count;
        addElementItem(model, listFor(model, element), element);
    }
}

void elementListClicked(Model& model, ElementListView& list, int position) {
    if (position < 0 || position >= list.itemCount()) return;
    model.setOutputEnabled(false);
    moveElementItem(model, list, position);
    recomputeCompositions(model);
    model.runSolver();
}

void moveSelectedAndSolve(Model& model, ElementListView& list) {
    if (moveSelectedElements(model, list) > 0) model.runSolver();
}

void moveAllAndSolve(Model& model, ElementListView& list) {
    if (moveAllElements(model, list) > 0) model.runSolver();
}

}  // namespace qv
