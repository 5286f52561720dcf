#include "form/headless_form.h"

#include "form/edit/width_table.h"

namespace qv {

HeadlessForm::HeadlessForm(const ElementTable& table, const FormulaStyle* style) {
    model.elementTable = table;
    if (style != nullptr) {
        for (Formula* f : {&model.finalCompound, &model.difference}) applyStyle(*f, *style);
        for (auto& row : model.sources) applyStyle(*row, *style);
    }
    model.clearAll();
    form.log.clear();
}

}  // namespace qv
