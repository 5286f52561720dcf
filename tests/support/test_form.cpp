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
void caretToEnd(Formula& entry) {
    const int end = entry.edit().length();
    entry.edit().placeCaret(end, end, end);
}
}  // namespace

TestForm::TestForm(std::string_view elementFile) : HeadlessForm(elementsOf(elementFile)) {}

void TestForm::type(Formula& entry, std::string_view text) {
    caretToEnd(entry);
    for (char c : text)
        if (insertChar(entry.edit(), c, true)) model.textChanged(entry);
}

void TestForm::backspace(Formula& entry, int n) {
    caretToEnd(entry);
    for (int i = 0; i < n; ++i)
        if (deleteBackward(entry.edit(), true)) model.textChanged(entry);
}

void TestForm::retype(Formula& entry, std::string_view text) {
    if (text.empty()) return backspace(entry, entry.edit().length());
    if (entry.edit().length() == 0) return type(entry, text);
    selectRange(entry.edit(), 0, -1);
    replaceSelection(entry, text);
}

void TestForm::setText(Formula& entry, std::string_view text) { qv::setText(entry, text); }

bool TestForm::clickElement(std::string_view symbol) {
    for (MemoryElementList* list : {&include, &exclude})
        if (const int at = list->findItem(symbol); at >= 0) return elementListClicked(model, *list, at), true;
    return false;
}

int TestForm::solverRuns() const {
    int runs = 0;
    for (const FormNotice& n : notices) runs += n.what == FormChange::ElementLists;
    return runs;
}

bool TestForm::enterBariumTitanate() {
    model.finalCompound().setEntry("BaTiO3", 1, false);
    model.source(0).setEntry("BaCO3", 0, false);
    model.source(1).setEntry("TiO2", 0, false);
    model.setSampleTag("S1");
    return model.runSolver();
}

}  // namespace qv::test
