#include "form/formula.h"

#include <cassert>
#include <cmath>

#include "core/number_format.h"
#include "core/number_scan.h"
#include "form/element_lists.h"
#include "form/model.h"

namespace qv {

Formula::Formula(Model* owner, int index) : model_(owner), index_(index), readOnly_(index == -2) {}

void Formula::setStyle(const FormulaStyle& style) {
    style_ = style;
    edit_.setWidthTable(style.widthTable);
}

EntryClass Formula::classify() const {
    if (!ratioValid_ || !valid_) return Invalid;
    if (edit_.length() == 0) return Empty;
    if (fixed_) return Fixed;
    return Free;
}

ReparseResult Formula::reparse() {
    clearParse();
    if (edit_.length() == 0) {
        valid_ = true;
        return ReparseResult::EmptyText;
    }
    std::unique_ptr<FormulaNode> root;
    if (model_ == nullptr || parseFormula(model_->elementTable(), text(), &root) != ParseOk || !root) {
        valid_ = false;
        return ReparseResult::NotParsed;
    }
    tree_ = std::move(root);
    valid_ = true;
    if (evaluateFormula(1.0, tree_.get(), composition_) == 0 && !composition_.empty())
        registerElements(*model_, composition_);
    return ReparseResult::Parsed;
}

void Formula::clearParse() {
    if (!composition_.empty()) {
        if (model_ != nullptr) releaseElements(*model_, composition_);
        composition_.clear();
    }
    tree_.reset();
}

void Formula::resetEntry() {
    if (model_ != nullptr) model_->forgetEntry(index_);
    ratio_ = 0.0;
    clearText(edit_);
    valid_ = true;
    ratioText_.clear();
    ratioValid_ = true;
    fixed_ = false;
    clearParse();
}

void Formula::recomputeComposition() {
    composition_.clear();
    if (!valid_ || edit_.length() == 0) return;
    // The tree parsed once; evaluating it again cannot fail.
    [[maybe_unused]] const int failed = evaluateFormula(1.0, tree_.get(), composition_);
    assert(failed == 0);
}

void Formula::setRatio(double value) { setRatio(value, formatDecimal(value, 6)); }

void Formula::setRatio(double value, std::string_view text) {
    ratioText_.assign(text);
    ratio_ = value;
    ratioValid_ = true;
}

bool Formula::setRatioText(std::string_view text) {
    ratioText_.assign(text);
    return parseRatioText();
}

bool Formula::parseRatioText() {
    if (ratioText_.empty()) {
        ratio_ = 0.0;
        ratioValid_ = true;
        return true;
    }
    double value = 0.0;
    const std::size_t used = scanCNumber(ratioText_, value);
    ratio_ = used > 0 ? value : 0.0;
    fixed_ = true;
    ratioValid_ = used > 0 && used == ratioText_.size();
    // Pasted "inf", "nan" or 1e999 read as numbers but would poison every sum
    // the solver and the weighing build from the ratio.
    if (!std::isfinite(ratio_)) {
        ratio_ = 0.0;
        ratioValid_ = false;
    }
    return ratioValid_;
}

void Formula::setEntry(std::string_view formulaText, double ratioValue, bool fixedFlag) {
    resetEntry();
    insertText(edit_, formulaText);
    reparse();
    setRatio(ratioValue);
    fixed_ = fixedFlag;
    if (model_ != nullptr) model_->entryChanged(*this);
}

double Formula::molarMass() const {
    return model_ != nullptr ? compositionMass(model_->elementTable(), composition_) : 0.0;
}

}  // namespace qv
