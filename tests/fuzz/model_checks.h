#pragma once
// Invariants of a whole form that every harness driving the model checks
// after each step: entry sets, element-use map and lists, editing layout.

#include <map>
#include <string>

#include "form/edit/formula_editing.h"
#include "form/memory_views.h"
#include "form/model.h"
#include "fuzz_support.h"
#include "support/layout_check.h"

namespace qv::fuzz {

// Cells, caret and selection of one entry.
inline void checkLayout(const EditBuffer& b) {
    const std::string fault = test::layoutFault(b);
    if (!fault.empty()) fail(__FILE__, __LINE__, fault.c_str());
    QV_FUZZ_CHECK(b.saved().length >= 0 && b.saved().length <= b.capacity());
    QV_FUZZ_CHECK(xOfIndex(b, b.caret()) >= b.leftMargin() || b.length() == 0);
    const int hit = hitTest(b, b.view().left);
    QV_FUZZ_CHECK(hit >= 0 && hit <= b.length());
}

// The whole form: nothing fatal happened, each source row sits in the set of
// its class and only there, the element-use map counts exactly the entries'
// compositions and each used element has one item, in the list its include
// flag names, the lists sorted by symbol.
inline void checkModel(const Model& m, const MemoryElementList& include, const MemoryElementList& exclude) {
    QV_FUZZ_CHECK(!m.failure());
    const EntrySet* sets[] = {&m.invalidEntries(), &m.freeEntries(), &m.fixedEntries()};
    const EntryClass classes[] = {Invalid, Free, Fixed};
    std::map<int, int> use, seen;
    for (int row = -2; row < kSourceRows; ++row) {
        const Formula& f = row == -2 ? m.finalCompound() : row == -1 ? m.difference() : m.source(row);
        checkLayout(f.edit());
        for (const auto& entry : f.composition()) ++use[entry.first];
        for (int s = 0; s < 3 && row >= 0; ++s)
            QV_FUZZ_CHECK(sets[s]->count(row) == (f.classify() == classes[s] ? 1u : 0u));
    }
    for (int s = 0; s < 3; ++s)
        for (const auto& [row, entry] : *sets[s])
            QV_FUZZ_CHECK(row >= 0 && row < kSourceRows && entry == &m.source(row));
    QV_FUZZ_CHECK(use == m.elementUse());
    for (const MemoryElementList* list : {&include, &exclude})
        for (int i = 0; i < list->itemCount(); ++i) {
            const int element = list->itemData(i);
            QV_FUZZ_CHECK(element >= 0 && element < m.elementTable().count());
            QV_FUZZ_CHECK(list->itemText(i) == m.elementTable().symbol(element));
            QV_FUZZ_CHECK(m.elementTable().included(element) == (list == &include));
            QV_FUZZ_CHECK(i == 0 || list->itemText(i - 1) <= list->itemText(i));
            QV_FUZZ_CHECK(++seen[element] == 1 && use.count(element) == 1);
        }
    QV_FUZZ_CHECK(seen.size() == use.size());
}

}  // namespace qv::fuzz
