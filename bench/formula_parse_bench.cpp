// Formulas are re-parsed and re-evaluated on every keystroke, against the full
// 118-element table: this is that path.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/composition.h"
#include "core/element_table.h"
#include "core/formula_parser.h"

namespace {

// The build copies ATOMS.LST beside every executable.
const std::string& atomsPath() {
    static const std::string path =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "ATOMS.LST").string();
    return path;
}

const qv::ElementTable& shippedTable() {
    static qv::ElementTable table = [] {
        qv::ElementTable t;
        t.loadElementTable(atomsPath());
        return t;
    }();
    return table;
}

void BM_ParseAndEvaluate(benchmark::State& state) {
    const qv::ElementTable& table = shippedTable();
    const char* text = "YBa2Cu3O6.95(La0.7Sr0.3MnO3)2.5Ca(OH)2CuSO4.5H2O";
    for (auto _ : state) {
        std::unique_ptr<qv::FormulaNode> tree;
        qv::Composition c;
        benchmark::DoNotOptimize(qv::parseFormula(table, text, &tree));
        benchmark::DoNotOptimize(qv::evaluateFormula(1.0, tree.get(), c));
        benchmark::DoNotOptimize(qv::compositionMass(table, c));
    }
}
BENCHMARK(BM_ParseAndEvaluate);

void BM_FindElement(benchmark::State& state) {
    const qv::ElementTable& table = shippedTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.findElement("Cu"));
        benchmark::DoNotOptimize(table.findElement("Og"));
        benchmark::DoNotOptimize(table.findElement("Xx"));
    }
}
BENCHMARK(BM_FindElement);

void BM_LoadElementTable(benchmark::State& state) {
    for (auto _ : state) {
        qv::ElementTable t;
        benchmark::DoNotOptimize(t.loadElementTable(atomsPath()));
    }
}
BENCHMARK(BM_LoadElementTable);

}  // namespace
