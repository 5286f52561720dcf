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
inline void checkLayout(const Formula& f) {
    const std::string fault = test::layoutFault(f.edit());
    if (!fault.empty()) std::fprintf(stderr, "%s\n", fault.c_str());
    QV_FUZZ_CHECK(fault.empty());
    QV_FUZZ_CHECK(f.edit().saved().length >= 0 && f.edit().saved().length <= f.edit().capacity());
    QV_FUZZ_CHECK(xOfIndex(f.edit(), f.edit().caret()) >= f.edit().leftMargin() || f.edit().length() == 0);
    const int hit = hitTest(f.edit(), f.edit().view().left);
    QV_FUZZ_CHECK(hit >= 0 && hit <= f.edit().length());
}

inline void checkEntrySet(const Model& m, const EntrySet& set, EntryClass cls) {
    for (const auto& [row, entry] : set) {
        QV_FUZZ_CHECK(row >= 0 && row < kSourceRows);
        QV_FUZZ_CHECK(entry == &m.source(row));
        QV_FUZZ_CHECK(entry->classify() == cls);
    }
}

inline void checkList(const Model& m, const MemoryElementList& list, bool included,
                      std::map<int, int>& seen) {
    std::string previous;
    for (int i = 0; i < list.itemCount(); ++i) {
        const int element = list.itemData(i);
        QV_FUZZ_CHECK(element >= 0 && element < m.elementTable().count());
        QV_FUZZ_CHECK(list.itemText(i) == m.elementTable().symbol(element));
        QV_FUZZ_CHECK(m.elementTable().included(element) == included);
        QV_FUZZ_CHECK(i == 0 || previous <= list.itemText(i));
        previous = list.itemText(i);
        ++seen[element];
    }
}

// The whole form: nothing fatal happened, each source row sits in the set of
// its class, the element-use map counts exactly the entries' compositions and
// each used element has one item, in the list its include flag names.
inline void checkModel(const Model& m, const MemoryElementList& include, const MemoryElementList& exclude) {
    QV_FUZZ_CHECK(!m.failure());
    checkEntrySet(m, m.freeEntries(), Free);
    checkEntrySet(m, m.fixedEntries(), Fixed);
    checkEntrySet(m, m.invalidEntries(), Invalid);
    std::map<int, int> use;
    auto count = [&](const Formula& f) {
        checkLayout(f);
        for (const auto& entry : f.composition()) ++use[entry.first];
    };
    count(m.finalCompound());
    count(m.difference());
    for (int row = 0; row < kSourceRows; ++row) {
        const Formula& f = m.source(row);
        count(f);
        const auto cls = f.classify();
        QV_FUZZ_CHECK(m.freeEntries().count(row) == (cls == Free ? 1u : 0u));
        QV_FUZZ_CHECK(m.fixedEntries().count(row) == (cls == Fixed ? 1u : 0u));
        QV_FUZZ_CHECK(m.invalidEntries().count(row) == (cls == Invalid ? 1u : 0u));
    }
    QV_FUZZ_CHECK(use == m.elementUse());
    std::map<int, int> seen;
    checkList(m, include, true, seen);
    checkList(m, exclude, false, seen);
    QV_FUZZ_CHECK(seen.size() == use.size());
    for (const auto& [element, items] : seen) {
        QV_FUZZ_CHECK(items == 1);
        QV_FUZZ_CHECK(use.count(element) == 1);
    }
}

}  // namespace qv::fuzz
