#include "form/formula.h"

#include <cmath>

#include "form/edit/formula_editing.h"
#include "form/form_view.h"
#include "form/model.h"
#include "core/number_scan.h"
#include "core/number_format.h"
#include "form/element_lists.h"

namespace qv {

namespace {

constexpr std::string_view kRevectoringFailure =
    "Error has been encountered: revectoring failure.";

}  // namespace

std::string Formula::text() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) out.push_back(cells[i].ch);
    return out;
}

EntryClass Formula::classify() const {
    if (!ratioValid || !valid) return Invalid;
    if (length == 0) return Empty;
    if (fixed) return Fixed;
    return Free;
}

int Formula::reparse() {
    clearParse();
    if (length == 0) {
        valid = true;
        return 0;
    }
    std::unique_ptr<FormulaNode> root;
    if (model == nullptr || parseFormula(model->elementTable, text(), &root) != ParseOk || !root) {
        valid = false;
        return -1;
    }
    tree = std::move(root);
    valid = true;
    if (evaluateFormula(1.0, tree.get(), composition) == 0 && !composition.empty())
        registerElements(*model, composition);
    return 1;
}

void Formula::clearParse() {
    if (!composition.empty()) {
        if (model != nullptr) releaseElements(*model, composition);
        composition.clear();
    }
    tree.reset();
}

void Formula::resetEntry() {
    if (index >= 0 && model != nullptr) {
        switch (classify()) {
        case Invalid: model->invalidEntries.erase(index); break;
        case Free: model->freeEntries.erase(index); break;
        case Fixed: model->fixedEntries.erase(index); break;
        case Empty: break;
        }
    }
    ratio = 0.0;
    length = 0;
    caret = 0;
    anchor = 0;
    activeEnd = 0;
    valid = true;
    ratioText.clear();
    ratioValid = true;
    fixed = false;
    clearParse();
}

bool Formula::recomputeComposition() {
    composition.clear();
    if (!valid || length == 0) return false;
    if (evaluateFormula(1.0, tree.get(), composition) != 0) {
        // The tree parsed before; failing now means the model is corrupt.
        if (model != nullptr && model->form != nullptr)
            model->form->fatal(kRevectoringFailure, 1);
        return false;
    }
    return true;
}

void Formula::setRatio(double value) {
    ratioText = formatDecimal(value, 6);
    ratio = value;
    ratioValid = true;
}

bool Formula::parseRatioText() {
    if (ratioText.empty()) {
        ratio = 0.0;
        ratioValid = true;
        return true;
    }
    double value = 0.0;
    const std::size_t used = scanCNumber(ratioText, value);
    ratio = used > 0 ? value : 0.0;
    fixed = true;
    ratioValid = used > 0 && used == ratioText.size();
    // Pasted "inf", "nan" or 1e999 read as numbers but would poison every sum
    // the solver and the weighing build from the ratio.
    if (!std::isfinite(ratio)) {
        ratio = 0.0;
        ratioValid = false;
    }
    return ratioValid;
}

int Formula::setEntry(std::string_view formulaText, double ratioValue, bool fixedFlag) {
    resetEntry();
    insertText(*this, formulaText);
    reparse();
    setRatio(ratioValue);
    fixed = fixedFlag;
    return model != nullptr ? model->updateEntrySets(this) : -2;
}

double Formula::molarMass() {
    molarMassValue = model != nullptr ? compositionMass(model->elementTable, composition) : 0.0;
    return molarMassValue;
}

}  // namespace qv
