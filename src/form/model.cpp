#include "form/model.h"

#include <algorithm>
#include <cassert>

#include "form/edit/formula_editing.h"
#include "form/ratio_solver.h"

namespace qv {

Model::Model() {
    sources_.reserve(kSourceRows);
    for (int row = 0; row < kSourceRows; ++row) sources_.push_back(std::make_unique<Formula>(this, row));
}

void Model::addObserver(FormObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Model::removeObserver(FormObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Model::notify(FormChange what, int row) {
    // An observer may add or remove observers while it is told.
    const std::vector<FormObserver*> now = observers_;
    for (FormObserver* observer : now)
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
            observer->formChanged(what, row);
}

void Model::attachLists(ElementListView* include, ElementListView* exclude) {
    includeList_ = include;
    excludeList_ = exclude;
}

void Model::updateEntrySets(Formula& entry) {
    const int i = entry.index();
    if (i < 0) return;
    forgetEntry(i);
    switch (entry.classify()) {
    case Invalid: invalidEntries_[i] = &entry; break;
    case Empty: break;
    case Free: freeEntries_[i] = &entry; break;
    case Fixed: fixedEntries_[i] = &entry; break;
    }
}

void Model::forgetEntry(int index) {
    if (index < 0) return;
    freeEntries_.erase(index);
    fixedEntries_.erase(index);
    invalidEntries_.erase(index);
}

void Model::entryChanged(Formula& entry) {
    updateEntrySets(entry);
    if (entry.index() >= 0)
        notify(FormChange::Row, entry.index());
    else if (entry.index() == -1)
        notify(FormChange::FinalCompound);
    else
        notify(FormChange::Difference);
}

bool Model::runSolver() {
    if (includeList_ == nullptr || excludeList_ == nullptr) return false;
    return RatioSolver(*this).run();
}

void Model::textChanged(Formula& entry) {
    if (entry.readOnly()) return;
    entry.reparse();
    entryChanged(entry);
    runSolver();
}

void Model::togglePeg(int row) {
    if (row < 0 || row >= kSourceRows) return;
    setOutputEnabled(false);
    Formula& entry = source(row);
    entry.setFixed(!entry.fixed());
    updateEntrySets(entry);
    notify(FormChange::Peg, row);
    runSolver();
}

void Model::sourceRatioTyped(int row, std::string_view text) {
    if (row < 0 || row >= kSourceRows) return;
    Formula& entry = source(row);
    const bool wasFixed = entry.fixed();
    entry.setRatioText(text);
    updateEntrySets(entry);
    if (entry.fixed() != wasFixed) notify(FormChange::Peg, row);
    runSolver();
}

void Model::setFinalRatioText(std::string_view text) {
    finalCompound_.keepRatioText(text);
    notify(FormChange::FinalRatio);
    if (editorUpdateGuard_) return;
    finalCompound_.setRatioText(text);
    runSolver();
}

void Model::setSampleTag(std::string_view text) {
    if (sampleTag_ == text) return;
    sampleTag_.assign(text);
    notify(FormChange::SampleTag);
}

void Model::setGramsText(std::string_view text) {
    if (gramsText_ == text) return;
    gramsText_.assign(text);
    notify(FormChange::Grams);
}

void Model::clearSources() {
    for (auto& entry : sources_) entry->resetEntry();
    // resetEntry takes each row out of every set, so nothing can remain.
    assert(freeEntries_.empty() && invalidEntries_.empty() && fixedEntries_.empty());
    notify(FormChange::Row, -1);
}

void Model::clearAll() {
    finalCompound_.resetEntry();
    finalCompound_.setRatio(1.0, "1");
    notify(FormChange::FinalCompound);
    setFinalRatioText("1");
    clearSources();
    // With every entry empty no element is in use.
    assert(elementUse_.empty());
    setCounts(0, 0);
    setGramsText("1");
    setOutputEnabled(false);
}

void Model::setStatus(std::string_view text) {
    status_.assign(text);
    notify(FormChange::Status);
}

void Model::setCounts(int includeCount, int freeCount) {
    includeCount_ = includeCount;
    freeCount_ = freeCount;
    notify(FormChange::ElementLists);
}

void Model::setOutputEnabled(bool enabled) {
    outputEnabled_ = enabled;
    notify(FormChange::Outcome);
}

void Model::setDifferenceText(std::string_view text) {
    // Read-only for keys, not for the program.
    setText(difference_, text);
    notify(FormChange::Difference);
}

void Model::message(std::string_view text, std::string_view title, MessageIcon icon) {
    message_ = {std::string(text), std::string(title), icon};
    notify(FormChange::Message);
}

void Model::fail(std::string_view text, int exitCode) {
    if (failure_) return;  // the first inconsistency is the one to report
    failure_ = FormFailure{std::string(text), exitCode};
    notify(FormChange::Failure);
}

}  // namespace qv
