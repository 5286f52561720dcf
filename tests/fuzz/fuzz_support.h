#pragma once
// Helpers shared by the fuzz harnesses, and the invariants of a whole form
// that every harness driving the model checks after each step: entry sets,
// element-use map and lists, editing layout.

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include "form/memory_views.h"
#include "form/model.h"
#include "support/layout_check.h"

// Each input builds a whole form (about a megabyte of entries); with the
// default 256 MB quarantine every build touches fresh pages and the harnesses
// run five times slower. 16 MB still holds everything one input frees.
// (Each harness is one translation unit, so this is defined once.)
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

namespace qv::fuzz {

// A harness stops the run loudly; libFuzzer records the input that got here.
[[noreturn]] inline void fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}
#define QV_FUZZ_CHECK(cond) ((cond) ? void() : ::qv::fuzz::fail(__FILE__, __LINE__, #cond))

// A per-process scratch file, removed when the process ends normally, so
// parallel fuzzing jobs do not share one. It is rewritten for every input:
// memory-backed /dev/shm is ten times faster than a disk-backed /tmp.
inline std::string scratchPath(const char* tag) {
    const char* env = std::getenv("TMPDIR");
    const std::string dir = env && *env ? env : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return dir + "/qv-fuzz-" + tag + "-" + std::to_string(::getpid());
}
struct ScratchFile {
    std::string path;
    explicit ScratchFile(const char* tag) : path(scratchPath(tag)) {}
    ~ScratchFile() { std::remove(path.c_str()); }
};

inline bool writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return f && std::fclose(f) == 0 && ok;
}

// The shipped element file, copied beside every executable by the build;
// loaded once per process.
inline const ElementTable& shippedElements() {
    static const ElementTable table = [] {
        ElementTable t;
        QV_FUZZ_CHECK(t.loadElementTable(QV_BIN_DIR "/ATOMS.LST") > 0);
        return t;
    }();
    return table;
}

// Cells, caret and selection of one entry.
inline void checkLayout(const EditBuffer& b) {
    const std::string fault = test::layoutFault(b);
    if (!fault.empty()) fail(__FILE__, __LINE__, fault.c_str());
    QV_FUZZ_CHECK(b.saved().length >= 0 && b.saved().length <= b.capacity());
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
