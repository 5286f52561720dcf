#include "form/formula.h"

#include <cmath>

#include "core/number_format.h"
#include "core/number_scan.h"
#include "form/element_lists.h"
#include "form/form_view.h"
#include "form/model.h"

namespace qv {

namespace {

constexpr std::string_view kRevectoringFailure = "Error has been encountered: revectoring failure.";

}  // namespace

EntryClass Formula::classify() const {
    if (!ratioValid || !valid) return Invalid;
    if (edit.length == 0) return Empty;
    if (fixed) return Fixed;
    return Free;
}

ReparseResult Formula::reparse() {
    clearParse();
    if (edit.length == 0) {
        valid = true;
        return ReparseResult::EmptyText;
    }
    std::unique_ptr<FormulaNode> root;
    if (model == nullptr || parseFormula(model->elementTable, text(), &root) != ParseOk || !root) {
        valid = false;
        return ReparseResult::NotParsed;
    }
    tree = std::move(root);
    valid = true;
    if (evaluateFormula(1.0, tree.get(), composition) == 0 && !composition.empty())
        registerElements(*model, composition);
    return ReparseResult::Parsed;
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
        model->invalidEntries.erase(index);
        model->freeEntries.erase(index);
        model->fixedEntries.erase(index);
    }
    ratio = 0.0;
    clearText(edit);
    valid = true;
    ratioText.clear();
    ratioValid = true;
    fixed = false;
    clearParse();
}

bool Formula::recomputeComposition() {
    composition.clear();
    if (!valid || edit.length == 0) return false;
    if (evaluateFormula(1.0, tree.get(), composition) != 0) {
        // The tree parsed before; failing now means the model is corrupt.
        if (model != nullptr && model->form != nullptr) model->form->fatal(kRevectoringFailure, 1);
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
    insertText(edit, formulaText);
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
