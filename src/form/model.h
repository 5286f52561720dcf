#pragma once
// The process-wide state of one form: the element table, the entries, the
// entry sets, the element-use map and the remainder. The program makes one;
// every test makes its own.
//
// The constructor creates the thirty source rows with indices 0..29 (editable,
// edited through the source list), the final compound with index -1 and the
// read-only difference formula with index -2; neither of those two is in the
// list (inList false) and neither is ever in an entry set.

#include <array>
#include <map>
#include <memory>
#include <string_view>

#include "core/composition.h"
#include "core/element_table.h"
#include "form/formula.h"

namespace qv {

class FormView;
class ElementListView;

using EntrySet = std::map<int, Formula*>;  // source row -> entry, not owned

class Model {
public:
    Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    ElementTable elementTable;
    Formula finalCompound{this};                                // index -1
    Formula difference{this};                                   // index -2, read-only
    std::array<std::unique_ptr<Formula>, kSourceRows> sources;  // indices 0..29
    EntrySet freeEntries;
    EntrySet fixedEntries;
    EntrySet invalidEntries;
    std::map<int, int> elementUse;  // element index -> entries whose composition holds it
    Composition remainder;
    bool editorUpdateGuard = false;  // raised while the program writes into an editor

    // The window, once it exists; the solver does nothing before.
    FormView* form = nullptr;
    ElementListView* includeList = nullptr;
    ElementListView* excludeList = nullptr;

    Formula& source(int row) { return *sources[row]; }
    const Formula& source(int row) const { return *sources[row]; }

    // The entry's class, or -2 for no entry or a negative index.
    int updateEntrySets(Formula* entry);
    // The ratio solver's result; false without doing anything before the
    // form is attached.
    bool runSolver();

    // Events of the form, each in the calling order the controls follow.

    // After the editor changed an entry's text: unless the entry is
    // read-only, reparse, updateEntrySets, runSolver.
    void textChanged(Formula& entry);
    // A click in the Fix column of a source row.
    void togglePeg(int row);
    // The user typed into a source row's ratio cell.
    void sourceRatioTyped(int row, std::string_view text);

    // resetEntry of every source row; afterwards every entry set must be
    // empty ("Remains after clear in CHEMLIST.", exit code 1). False then.
    bool clearSources();
    // The Clear All command: empty final compound with ratio 1, empty rows,
    // counts 0, gram 1, "Output" disabled.
    void clearAll();
};

}  // namespace qv
