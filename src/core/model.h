#pragma once
// The process-wide state of one form: the element table, the entries, the
// entry sets, the element-use map and the remainder. The program makes one;
// every test makes its own.

#include <array>
#include <map>
#include <memory>

#include "core/composition.h"
#include "core/element_table.h"
#include "core/formula.h"

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
    Formula finalCompound{this};   // index -1
    Formula difference{this};      // index -2, read-only
    std::array<std::unique_ptr<Formula>, kSourceRows> sources;  // indices 0..29
    EntrySet freeEntries;
    EntrySet fixedEntries;
    EntrySet invalidEntries;
    std::map<int, int> elementUse;  // element index -> entries whose composition holds it
    Composition remainder;
    bool editorUpdateGuard = false; // raised while the program writes into an editor

    // The window, once it exists; the solver does nothing before.
    FormView* form = nullptr;
    ElementListView* includeList = nullptr;
    ElementListView* excludeList = nullptr;

    Formula& source(int row) { return *sources[row]; }

    // The entry's class, or -2 for no entry or a negative index.
    int updateEntrySets(Formula* entry);
    bool runSolver();
};

}  // namespace qv
