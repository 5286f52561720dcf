// Editing must stay instant at the full 480 characters: layout shifts one
// width per following cell, and hit testing bisects.

#include <benchmark/benchmark.h>

#include "form/edit/formula_editing.h"
#include "form/edit/key_codes.h"
#include "form/edit/width_table.h"

namespace {

qv::WidthTable benchWidths() {
    qv::WidthTable t;
    for (int c = 32; c < 127; ++c) t.widths[c] = 6 + c % 5;
    return t;
}

// Fills an entry to capacity by typing at the start, the costliest place.
void BM_TypeFullTextAtTheStart(benchmark::State& state) {
    const qv::WidthTable widths = benchWidths();
    qv::EditorContext context;
    for (auto _ : state) {
        qv::Formula f;
        f.edit().setWidthTable(&widths);
        qv::bindView(f.edit(), 300);
        for (int i = 0; i < qv::kFormulaCapacity; ++i) {
            qv::handleKey(f, qv::kKeyHome, qv::kModNone, context);
            qv::handleKey(f, 'A' + i % 26, qv::kModShift, context);
        }
        benchmark::DoNotOptimize(f.edit().length());
    }
}
BENCHMARK(BM_TypeFullTextAtTheStart);

void BM_HitTestFullText(benchmark::State& state) {
    const qv::WidthTable widths = benchWidths();
    qv::Formula f;
    f.edit().setWidthTable(&widths);
    qv::bindView(f.edit(), 300);
    for (int i = 0; i < qv::kFormulaCapacity; ++i) qv::insertChar(f.edit(), 'C', false);
    const int end = qv::xOfIndex(f.edit(), f.edit().length());
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(qv::hitTest(f.edit(), x));
        x = (x + 37) % end;
    }
}
BENCHMARK(BM_HitTestFullText);

}  // namespace
