// One keystroke in a source row of a full form: the after-change hook
// reparses the row, refreshes the entry sets and runs the ratio solver over
// 40 included elements and 30 free rows.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "form/edit/formula_editing.h"
#include "form/headless_form.h"
#include "form/ratio_solver.h"

namespace {

std::string elementFilePath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "ATOMS.LST").string();
}

void typeAtEnd(qv::Model& model, qv::Formula& entry, std::string_view text) {
    for (char c : text) {
        entry.edit().placeCaret(entry.edit().length(), entry.edit().length(), entry.edit().length());
        if (qv::insertChar(entry.edit(), c, true)) model.textChanged(entry);
    }
}

// Thirty sources, each with its own metal and a half of one of ten shared
// metals; the final compound is their sum, so every ratio is 1. With
// `balanced` false the last row brings 0.6 of its shared metal instead, and
// that element cannot balance.
qv::ElementTable shippedElements() {
    qv::ElementTable table;
    table.loadElementTable(elementFilePath());
    return table;
}

struct FullForm : qv::HeadlessForm {
    bool ready = false;

    explicit FullForm(bool balanced) : HeadlessForm(shippedElements()) {
        std::vector<std::string> metals;
        for (int i = 0; i < model.elementTable().count() && metals.size() < 40; ++i)
            if (model.elementTable().metal(i)) metals.push_back(model.elementTable().symbol(i));
        if (metals.size() < 40) return;
        std::string final;
        for (int j = 0; j < 30; ++j) final += metals[j];
        for (int k = 0; k < 10; ++k) final += metals[30 + k] + "1.5";
        typeAtEnd(model, model.finalCompound(), final);
        for (int j = 0; j < 30; ++j) {
            const std::string half = (!balanced && j == 29) ? "0.6" : "0.5";
            typeAtEnd(model, model.source(j), metals[j] + metals[30 + j % 10] + half);
        }
        ready = static_cast<int>(model.freeEntries().size()) == 30 && include.itemCount() == 40 &&
                (model.status() == qv::status::kSolved) == balanced;
    }
};

// Each iteration is one keystroke in row 29: a trailing 0 typed, then taken
// back with Backspace, alternately; the composition stays the same.
void editLastRow(benchmark::State& state, bool balanced) {
    FullForm f(balanced);
    if (!f.ready) {
        state.SkipWithError("could not build the full form");
        return;
    }
    qv::Formula& row = f.model.source(29);
    bool grow = true;
    for (auto _ : state) {
        row.edit().placeCaret(row.edit().length(), row.edit().length(), row.edit().length());
        if (grow ? qv::insertChar(row.edit(), '0', true) : qv::deleteBackward(row.edit(), true))
            f.model.textChanged(row);
        grow = !grow;
    }
    state.counters["solved"] = f.model.status() == qv::status::kSolved;
}

void BM_FormEdit_Balanced(benchmark::State& state) { editLastRow(state, true); }
void BM_FormEdit_CannotBalance(benchmark::State& state) { editLastRow(state, false); }
BENCHMARK(BM_FormEdit_Balanced)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FormEdit_CannotBalance)->Unit(benchmark::kMicrosecond);

}  // namespace
