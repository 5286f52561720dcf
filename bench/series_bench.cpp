// quorvex-cli series: 1001 members of a doped perovskite series from six
// precursors, each a template expansion, a solver run and a weighing.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/recipe_session.h"
#include "core/element_table.h"
#include "plan/series.h"

namespace {

constexpr const char* kRecipe =
    "-1 BSCTZH\r\n0 20 1 Ba0.8Sr0.1Ca0.1TiO3\r\n1 0 0 BaCO3\r\n2 0 0 SrCO3\r\n3 0 0 CaCO3\r\n"
    "4 0 0 TiO2\r\n5 0 0 ZrO2\r\n6 1 0.01 HfO2\r\n";
constexpr const char* kTemplate = "Ba{0.8-x}Sr0.1Ca{0.1+x}Ti{0.99-x/2}Zr{x/2}Hf0.01O3";

void BM_Series1001Samples(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    const std::string recipePath = (fs::temp_directory_path() / "quorvex_series_bench.qvs").string();
    if (std::FILE* f = std::fopen(recipePath.c_str(), "wb")) {
        std::fputs(kRecipe, f);
        std::fclose(f);
    }
    qv::ElementTable table;
    std::vector<double> values;
    std::string error;
    if (table.loadElementTable((bin / "ATOMS.LST").string()) <= 0 ||
        !qv::seriesValues({0.0, 0.5, 0.0005}, values, error) || values.size() != 1001) {
        state.SkipWithError("no elements or values");
        return;
    }
    int solved = 0;
    for (auto _ : state) {
        qv::cli::RecipeSession session(table, "");
        qv::CountTemplate counts;
        if (session.load(recipePath) != qv::RecipeResult::Done || !counts.compile(kTemplate, "x", error)) {
            state.SkipWithError("recipe or template refused");
            break;
        }
        const auto columns = qv::seriesColumns(session.model, qv::Corrections{});
        for (double x : values)
            solved += qv::runSample(session.model, columns, x, counts.expand(x), 20.0, "").ok;
    }
    if (solved != static_cast<int>(state.iterations() * values.size()))
        state.SkipWithError("some sample had no answer");
    state.counters["samples_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations() * values.size()), benchmark::Counter::kIsRate);
    fs::remove(recipePath);
}
BENCHMARK(BM_Series1001Samples)->Unit(benchmark::kMillisecond);

}  // namespace

// The Series dialog's live preview after a keystroke: 101 sample formulas
// expanded and parsed. One frame is 16 ms.
void BM_Preview101Samples(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    qv::ElementTable table;
    if (table.loadElementTable((bin / "ATOMS.LST").string()) <= 0) {
        state.SkipWithError("no elements");
        return;
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        const qv::SeriesPreview preview = qv::previewSeries(table, kTemplate, "x", {0.0, 0.1, 0.001});
        lines += preview.lines.size();
        benchmark::DoNotOptimize(preview);
    }
    if (lines != state.iterations() * 101) state.SkipWithError("not 101 samples");
}
BENCHMARK(BM_Preview101Samples)->Unit(benchmark::kMillisecond);

// The same keystroke with every sample solved and weighed, as the dialog's
// table shows them.
void BM_PreviewAndSolve101Samples(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    const std::string recipePath = (fs::temp_directory_path() / "quorvex_series_preview_bench.qvs").string();
    if (std::FILE* f = std::fopen(recipePath.c_str(), "wb")) {
        std::fputs(kRecipe, f);
        std::fclose(f);
    }
    qv::ElementTable table;
    if (table.loadElementTable((bin / "ATOMS.LST").string()) <= 0) {
        state.SkipWithError("no elements");
        return;
    }
    qv::cli::RecipeSession loaded(table, "");
    if (loaded.load(recipePath) != qv::RecipeResult::Done) {
        state.SkipWithError("recipe refused");
        return;
    }
    const auto columns = qv::seriesColumns(loaded.model, qv::Corrections{});
    std::size_t solved = 0;
    for (auto _ : state) {
        const qv::SeriesPreview preview = qv::previewSeries(table, kTemplate, "x", {0.0, 0.1, 0.001});
        for (const qv::SeriesSample& s : qv::solveSeries(loaded.model, columns, preview, 20.0, ""))
            solved += s.ok;
    }
    if (solved != state.iterations() * 101) state.SkipWithError("some sample had no answer");
    fs::remove(recipePath);
}
BENCHMARK(BM_PreviewAndSolve101Samples)->Unit(benchmark::kMillisecond);
