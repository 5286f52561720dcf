#pragma once
// The document behind one form: the element table, the final compound, the
// difference, the thirty source rows, the entry sets, the element-use map,
// the sample tag and grams, and what the ratio solver last found. The program
// makes one; every test makes its own.
//
// The source rows have indices 0..29 (edited through the source list), the
// final compound -1 and the read-only difference formula -2; neither of those
// two is ever in an entry set. Every source row sits in the entry set of its
// class (none for Empty), and the element-use map counts the entries whose
// composition holds each element; the operations here and in formula.h,
// element_lists.h keep both true.
//
// Views follow the model as FormObservers; the element lists it moves items
// between are views of their own (form_view.h) that it drives directly.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/composition.h"
#include "core/element_table.h"
#include "form/form_observer.h"
#include "form/form_view.h"
#include "form/formula.h"

namespace qv {

using EntrySet = std::map<int, Formula*>;  // source row -> entry, not owned

// A message box for the user.
struct FormMessage {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
};

// The model found itself inconsistent: the program shows the text and ends
// with the exit code.
struct FormFailure {
    std::string text;
    int exitCode = 1;
};

class Model {
public:
    Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    const ElementTable& elementTable() const { return elementTable_; }
    // The table's own operations keep it whole (loading, include flags).
    ElementTable& elementTable() { return elementTable_; }
    const Formula& finalCompound() const { return finalCompound_; }
    Formula& finalCompound() { return finalCompound_; }
    const Formula& difference() const { return difference_; }
    Formula& difference() { return difference_; }
    const Formula& source(int row) const { return *sources_[row]; }
    Formula& source(int row) { return *sources_[row]; }
    const EntrySet& freeEntries() const { return freeEntries_; }
    const EntrySet& fixedEntries() const { return fixedEntries_; }
    const EntrySet& invalidEntries() const { return invalidEntries_; }
    // Element index -> entries whose composition holds it.
    const std::map<int, int>& elementUse() const { return elementUse_; }

    const std::string& sampleTag() const { return sampleTag_; }
    // The Gram field's text, as typed or loaded.
    const std::string& gramsText() const { return gramsText_; }
    const std::string& status() const { return status_; }
    int includeCount() const { return includeCount_; }
    int freeCount() const { return freeCount_; }
    bool outputEnabled() const { return outputEnabled_; }
    // The last message box the model asked for.
    const FormMessage& message() const { return message_; }
    const std::optional<FormFailure>& failure() const { return failure_; }

    // Raised while the program writes into an editor, so that the editor's
    // change notice is not taken for typing.
    bool editorUpdateGuard() const { return editorUpdateGuard_; }
    void setEditorUpdateGuard(bool raised) { editorUpdateGuard_ = raised; }

    // Observers are not owned and must remove themselves before they go.
    void addObserver(FormObserver* observer);
    void removeObserver(FormObserver* observer);
    // The Include and Exclude lists, or none; the solver waits for both.
    void attachLists(ElementListView* include, ElementListView* exclude);
    ElementListView* includeList() const { return includeList_; }
    ElementListView* excludeList() const { return excludeList_; }

    // Runs the ratio solver and applies its outcome; false without doing
    // anything before the lists are attached.
    bool runSolver();

    // The user's gestures, each with its notices in the order the form shows
    // their effects.

    // After the editor changed an entry's text: unless the entry is
    // read-only, reparse, entry sets, solver.
    void textChanged(Formula& entry);
    // A click in the Fix column of a source row.
    void togglePeg(int row);
    // The user typed into a source row's ratio cell.
    void sourceRatioTyped(int row, std::string_view text);
    // The final ratio edit's text changed: kept always, read and solved
    // unless the editor guard is raised.
    void setFinalRatioText(std::string_view text);
    void setSampleTag(std::string_view text);
    void setGramsText(std::string_view text);
    // resetEntry of every source row.
    void clearSources();
    // The Clear All command: empty final compound with ratio 1, empty rows,
    // counts 0, gram 1, "Output" disabled.
    void clearAll();

    // Steps for the solver, the lists and the recipe loader.
    void setStatus(std::string_view text);
    void setCounts(int includeCount, int freeCount);
    void setOutputEnabled(bool enabled);
    void setDifferenceText(std::string_view text);
    // Shows a message box through the observers.
    void message(std::string_view text, std::string_view title = kAppTitle,
                 MessageIcon icon = MessageIcon::None);
    void fail(std::string_view text, int exitCode);
    // Tells the observers; for changes made through a lent buffer or entry.
    void notify(FormChange what, int row = -1);

private:
    friend class Formula;
    friend void registerElements(Model&, const Composition&);
    friend void releaseElements(Model&, const Composition&);

    // The entry's set follows its class; the observers hear of the entry.
    void entryChanged(Formula& entry);
    void updateEntrySets(Formula& entry);
    void forgetEntry(int index);

    ElementTable elementTable_;
    Formula finalCompound_{this, -1};
    Formula difference_{this, -2};
    std::vector<std::unique_ptr<Formula>> sources_;
    EntrySet freeEntries_;
    EntrySet fixedEntries_;
    EntrySet invalidEntries_;
    std::map<int, int> elementUse_;
    bool editorUpdateGuard_ = false;

    std::string sampleTag_;
    std::string gramsText_;
    std::string status_;
    int includeCount_ = 0;
    int freeCount_ = 0;
    bool outputEnabled_ = false;
    FormMessage message_;
    std::optional<FormFailure> failure_;

    std::vector<FormObserver*> observers_;
    ElementListView* includeList_ = nullptr;
    ElementListView* excludeList_ = nullptr;
};

}  // namespace qv
