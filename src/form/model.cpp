#include "form/model.h"

#include "form/form_view.h"
#include "form/ratio_solver.h"

namespace qv {

namespace {
constexpr std::string_view kRemainsAfterClear = "Remains after clear in CHEMLIST.";
constexpr std::string_view kGlobalClearFailed = "Global clear operation failed.";
}  // namespace

Model::Model() {
    finalCompound.index = -1;
    finalCompound.inList = false;
    difference.index = -2;
    difference.readOnly = true;
    difference.inList = false;
    for (int row = 0; row < kSourceRows; ++row) {
        sources[row] = std::make_unique<Formula>(this);
        sources[row]->index = row;
    }
}

int Model::updateEntrySets(Formula* entry) {
    if (entry == nullptr || entry->index < 0) return -2;
    const int i = entry->index;
    const EntryClass c = entry->classify();
    switch (c) {
    case Invalid:
        freeEntries.erase(i);
        fixedEntries.erase(i);
        invalidEntries[i] = entry;
        break;
    case Empty:
        freeEntries.erase(i);
        fixedEntries.erase(i);
        invalidEntries.erase(i);
        break;
    case Free:
        freeEntries[i] = entry;
        fixedEntries.erase(i);
        invalidEntries.erase(i);
        break;
    case Fixed:
        freeEntries.erase(i);
        fixedEntries[i] = entry;
        invalidEntries.erase(i);
        break;
    }
    return c;
}

bool Model::runSolver() {
    if (form == nullptr || includeList == nullptr || excludeList == nullptr) return false;
    return RatioSolver(*this).run();
}

void Model::textChanged(Formula& entry) {
    if (entry.readOnly) return;
    entry.reparse();
    updateEntrySets(&entry);
    runSolver();
}

void Model::togglePeg(int row) {
    if (row < 0 || row >= kSourceRows) return;
    if (form != nullptr) form->enableOutput(false);
    Formula& entry = source(row);
    entry.fixed = !entry.fixed;
    updateEntrySets(&entry);
    runSolver();
}

void Model::sourceRatioTyped(int row, std::string_view text) {
    if (row < 0 || row >= kSourceRows) return;
    Formula& entry = source(row);
    entry.ratioText.assign(text);
    entry.parseRatioText();
    updateEntrySets(&entry);
    runSolver();
}

bool Model::clearSources() {
    for (auto& entry : sources) entry->resetEntry();
    if (freeEntries.empty() && invalidEntries.empty() && fixedEntries.empty()) return true;
    if (form != nullptr) form->fatal(kRemainsAfterClear, 1);
    return false;
}

void Model::clearAll() {
    finalCompound.resetEntry();
    finalCompound.ratio = 1.0;
    finalCompound.ratioText = "1";
    finalCompound.ratioValid = true;
    if (form != nullptr) form->setControlText(ControlId::FinalRatio, "1");
    if (!clearSources()) return;
    if (!elementUse.empty()) {
        if (form != nullptr) form->fatal(kGlobalClearFailed, 1);
        return;
    }
    if (form == nullptr) return;
    form->setControlText(ControlId::FreeCount, "0");
    form->setControlText(ControlId::IncludeCount, "0");
    form->setControlText(ControlId::Mass, "1");
    form->enableOutput(false);
    form->repaint();
}

}  // namespace qv
