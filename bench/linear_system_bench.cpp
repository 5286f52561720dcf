// The over-determined search on recipe-sized systems: the polynomial search
// against the literal enumeration of row combinations.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "solver/linear_system.h"

namespace {

enum class Kind { Consistent, Inconsistent, NearTolerance };

// m included elements, n free sources: each source brings a few elements,
// counts are small integers and halves, ratios 0.5 to 2.25.
std::vector<double> recipeSystem(int m, int n, Kind kind, unsigned seed = 11) {
    std::mt19937 rng(seed);
    std::vector<double> a(static_cast<std::size_t>(m) * (n + 1), 0.0), x(n);
    for (int j = 0; j < n; ++j) x[j] = 0.5 + 0.25 * (rng() % 8);
    for (int i = 0; i < m; ++i) {
        double b = 0.0;
        for (int j = 0; j < n; ++j) {
            const double v = (i % n == j) ? 1.0 + rng() % 3 : (rng() % 5 == 0 ? 0.5 * (rng() % 7) : 0.0);
            a[static_cast<std::size_t>(j) * m + i] = v;
            b += v * x[j];
        }
        a[static_cast<std::size_t>(n) * m + i] = b;
    }
    double* rhs = &a[static_cast<std::size_t>(n) * m];
    if (kind == Kind::Inconsistent) rhs[m - 1] += 0.25;  // one element cannot balance
    if (kind == Kind::NearTolerance)                     // typed amounts off by about the tolerance
        for (int i = 0; i < m; i += 3) rhs[i] += (i % 2 ? 1 : -1) * 4e-7;
    return a;
}

void runSearch(benchmark::State& state, Kind kind, int (*fn)(int, int, const double*, double*)) {
    const int m = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
    const std::vector<double> a = recipeSystem(m, n, kind);
    std::vector<double> x(n);
    int result = 0;
    for (auto _ : state) {
        result = fn(m, n, a.data(), x.data());
        benchmark::DoNotOptimize(x.data());
    }
    state.counters["solved"] = result;
}

int enumerate(int m, int n, const double* a, double* x) {
    return qv::solveOverdeterminedByEnumeration(m, n, a, x);
}

void BM_Solve_Consistent(benchmark::State& s) { runSearch(s, Kind::Consistent, &qv::solveOverdetermined); }
void BM_Solve_Inconsistent(benchmark::State& s) {
    runSearch(s, Kind::Inconsistent, &qv::solveOverdetermined);
}
void BM_Solve_NearTolerance(benchmark::State& s) {
    runSearch(s, Kind::NearTolerance, &qv::solveOverdetermined);
}
void BM_Enumeration_Consistent(benchmark::State& s) { runSearch(s, Kind::Consistent, &enumerate); }
void BM_Enumeration_Inconsistent(benchmark::State& s) { runSearch(s, Kind::Inconsistent, &enumerate); }

// The dispatching search (fast above a few thousand combinations).
BENCHMARK(BM_Solve_Consistent)
    ->Args({40, 30})
    ->Args({30, 15})
    ->Args({120, 30})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Solve_Inconsistent)
    ->Args({40, 30})
    ->Args({30, 15})
    ->Args({120, 30})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Solve_NearTolerance)
    ->Args({40, 30})
    ->Args({30, 15})
    ->Args({120, 30})
    ->Unit(benchmark::kMicrosecond);
// The enumeration where it still finishes: a consistent system stops at the
// first combination, an inconsistent one walks all m-choose-n of them
// (20 choose 10 = 184756). Larger sizes are extrapolated from BM_OneCombination.
BENCHMARK(BM_Enumeration_Consistent)->Args({40, 30})->Args({30, 15})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Enumeration_Inconsistent)->Args({20, 10})->Iterations(2)->Unit(benchmark::kMillisecond);

// One step of the enumeration: copy n rows, square solve, residual test on m rows.
void BM_OneCombination(benchmark::State& state) {
    const int m = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
    const std::vector<double> a = recipeSystem(m, n, Kind::Inconsistent);
    std::vector<double> work(static_cast<std::size_t>(n) * (n + 1)), x(n);
    for (auto _ : state) {
        for (int c = 0; c <= n; ++c)
            for (int k = 0; k < n; ++k)
                work[static_cast<std::size_t>(c) * n + k] = a[static_cast<std::size_t>(c) * m + k];
        benchmark::DoNotOptimize(qv::solveSquare(n, work.data(), x.data()));
        benchmark::DoNotOptimize(qv::residualsWithin(m, n, a.data(), x.data(), qv::kLinearSystemTolerance));
    }
}
BENCHMARK(BM_OneCombination)->Args({40, 30})->Args({30, 15})->Args({20, 10})->Unit(benchmark::kNanosecond);

}  // namespace
