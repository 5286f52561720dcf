#include "support/test_form.h"

#include "form/edit/formula_editing.h"
#include "form/element_lists.h"

namespace qv::test {

namespace {
ElementTable elementsOf(std::string_view elementFile) {
    ElementTable table;
    loadElementText(table, elementFile);
    return table;
}
}  // namespace

TestForm::TestForm(std::string_view elementFile) : HeadlessForm(elementsOf(elementFile)) {}

void TestForm::type(Formula& entry, std::string_view text) {
    entry.edit.caret = entry.edit.anchor = entry.edit.activeEnd = entry.edit.length;
    for (char c : text) {
        if (insertChar(entry.edit, c, true)) model.textChanged(entry);
    }
}

void TestForm::backspace(Formula& entry, int n) {
    entry.edit.caret = entry.edit.anchor = entry.edit.activeEnd = entry.edit.length;
    for (int i = 0; i < n; ++i) {
        if (deleteBackward(entry.edit, true)) model.textChanged(entry);
    }
}

void TestForm::retype(Formula& entry, std::string_view text) {
    if (text.empty()) {
        backspace(entry, entry.edit.length);
    } else if (entry.edit.length == 0) {
        type(entry, text);
    } else {
        selectRange(entry.edit, 0, -1);
        replaceSelection(entry, text);
    }
}

void TestForm::setText(Formula& entry, std::string_view text) { qv::setText(entry, text); }

void TestForm::typeFinalRatio(std::string_view text) {
    form.setControlText(ControlId::FinalRatio, text);
}

void TestForm::typeRowRatio(int index, std::string_view text) {
    model.sourceRatioTyped(index, text);
}

void TestForm::clickPeg(int index) { model.togglePeg(index); }

bool TestForm::clickElement(std::string_view symbol) {
    for (MemoryElementList* list : {&include, &exclude}) {
        const int at = list->findItem(symbol);
        if (at >= 0) {
            elementListClicked(model, *list, at);
            return true;
        }
    }
    return false;
}

}  // namespace qv::test
