#include "form/headless_form.h"

#include "form/edit/formula_style.h"

namespace qv {

HeadlessForm::HeadlessForm(const ElementTable& table, const FormulaStyle* style) {
    model.elementTable() = table;
    if (style != nullptr) {
        model.finalCompound().setStyle(*style);
        model.difference().setStyle(*style);
        for (int row = 0; row < kSourceRows; ++row) model.source(row).setStyle(*style);
    }
    model.attachLists(&include, &exclude);
    model.addObserver(this);
    model.clearAll();
    notices.clear();
}

HeadlessForm::~HeadlessForm() { model.removeObserver(this); }

void HeadlessForm::formChanged(FormChange what, int row) {
    notices.push_back({what, row});
    if (what == FormChange::Message) messages.push_back(model.message());
}

}  // namespace qv
