// The exact linear-system solver: shapes, singular systems and the tolerance.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <random>
#include <vector>

#include "solver/linear_system.h"

namespace qv {
namespace {

// Builds the column-by-column augmented matrix from rows written as
// {a0, a1, ..., b}.
std::vector<double> augmented(std::initializer_list<std::initializer_list<double>> rows) {
    const int m = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows.begin()->size());
    std::vector<double> a(static_cast<std::size_t>(m) * width);
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (double v : row) a[static_cast<std::size_t>(c++) * m + r] = v;
        ++r;
    }
    return a;
}

TEST(SolveSquare, OneByOne) {
    auto a = augmented({{4.0, 3.0}});
    double x = 0.0;
    ASSERT_EQ(solve(1, 1, a.data(), &x), 1);
    EXPECT_DOUBLE_EQ(x, 0.75);

    auto zero = augmented({{0.0, 3.0}});
    EXPECT_EQ(solve(1, 1, zero.data(), &x), 0);
}

TEST(SolveSquare, SolvesThroughPivotingAndOverwritesTheMatrix) {
    // The first column's first entry is zero: the pivot must come from below.
    auto a = augmented({{0.0, 2.0, 1.0, 7.0}, {1.0, 1.0, 1.0, 6.0}, {2.0, 0.0, 3.0, 11.0}});
    const auto original = a;
    std::vector<double> x(3);
    ASSERT_EQ(solve(3, 3, a.data(), x.data()), 1);
    EXPECT_NEAR(x[0], 1.0, 1e-12);
    EXPECT_NEAR(x[1], 2.0, 1e-12);
    EXPECT_NEAR(x[2], 3.0, 1e-12);
    EXPECT_NE(a, original);
}

TEST(SolveSquare, FailsOnZeroRowsAndExactlySingularMatrices) {
    std::vector<double> x(2);
    // A row without coefficients fails at the scaling, whatever its right-hand side.
    for (double rhs : {0.0, 1.0}) {
        auto a = augmented({{1.0, 2.0, 3.0}, {0.0, 0.0, rhs}});
        EXPECT_EQ(solveSquare(2, a.data(), x.data()), 0) << rhs;
    }
    auto a = augmented({{1.0, 2.0, 3.0}, {2.0, 4.0, 6.0}});
    EXPECT_EQ(solveSquare(2, a.data(), x.data()), 0);
    auto nan = augmented({{NAN, 1.0, 1.0}, {1.0, 1.0, 2.0}});
    EXPECT_EQ(solveSquare(2, nan.data(), x.data()), 0);
    EXPECT_EQ(solveSquare(0, a.data(), x.data()), 0);
}

TEST(SolveSquare, EqualScaledRatiosKeepTheEarlierRowAndOnlyExactZeroFails) {
    // Both rows have the ratio 1 for the first pivot, and the matrix is
    // singular. Eliminating with the 0.1 row leaves an exact zero; with the
    // 2.9 row a rounding residue remains, which the exact comparison accepts.
    std::vector<double> x(2);
    auto smallFirst = augmented({{0.1, 0.1, 1.0}, {2.9, 2.9, 1.0}});
    EXPECT_EQ(solveSquare(2, smallFirst.data(), x.data()), 0);
    auto largeFirst = augmented({{2.9, 2.9, 1.0}, {0.1, 0.1, 1.0}});
    EXPECT_EQ(solveSquare(2, largeFirst.data(), x.data()), 1);
}

TEST(Solve, FewerEquationsThanUnknownsFailsAndLeavesTheSolution) {
    auto a = augmented({{1.0, 1.0, 2.0}});
    std::vector<double> x = {9.0, 9.0};
    EXPECT_EQ(solve(1, 2, a.data(), x.data()), 0);
    EXPECT_EQ(x, (std::vector<double>{9.0, 9.0}));
}

// The over-determined cases hold for the dispatching search, the literal
// enumeration and the fast search alike.
using OverdeterminedFn = int (*)(int, int, const double*, double*);
int enumerate(int m, int n, const double* a, double* x) { return solveOverdeterminedByEnumeration(m, n, a, x); }
int fast(int m, int n, const double* a, double* x) { return solveOverdeterminedFast(m, n, a, x); }

class Overdetermined : public testing::TestWithParam<OverdeterminedFn> {
protected:
    int run(int m, int n, const std::vector<double>& a, std::vector<double>& x) {
        const auto before = a;
        const int result = GetParam()(m, n, a.data(), x.data());
        EXPECT_EQ(std::memcmp(a.data(), before.data(), a.size() * sizeof(double)), 0)
            << "the caller's matrix must not change";
        return result;
    }
};

TEST_P(Overdetermined, DependentThirdEquationIsSolvedByTheFirstPair) {
    const auto a = augmented({{1.0, 1.0, 3.0}, {1.0, -1.0, 1.0}, {2.0, 0.0, 4.0}});
    std::vector<double> x(2);
    ASSERT_EQ(run(3, 2, a, x), 1);
    EXPECT_DOUBLE_EQ(x[0], 2.0);
    EXPECT_DOUBLE_EQ(x[1], 1.0);
}

TEST_P(Overdetermined, ContradictoryEquationsFail) {
    const auto a = augmented({{1.0, 1.0, 3.0}, {1.0, -1.0, 1.0}, {2.0, 0.0, 5.0}});
    std::vector<double> x(2);
    EXPECT_EQ(run(3, 2, a, x), 0);
}

TEST_P(Overdetermined, ZeroCoefficientRowsAgainstTheTolerance) {
    std::vector<double> x(1);
    // 0 = 1e-6 can never hold; 0 = 1e-7 is within the tolerance.
    EXPECT_EQ(run(2, 1, augmented({{2.0, 4.0}, {0.0, 1e-6}}), x), 0);
    ASSERT_EQ(run(2, 1, augmented({{2.0, 4.0}, {0.0, 1e-7}}), x), 1);
    EXPECT_DOUBLE_EQ(x[0], 2.0);
    // Rows that are zero throughout are passed over.
    ASSERT_EQ(run(3, 1, augmented({{0.0, 0.0}, {0.0, 0.0}, {3.0, 6.0}}), x), 1);
    EXPECT_DOUBLE_EQ(x[0], 2.0);
}

TEST_P(Overdetermined, ResidualsMustStayStrictlyBelowTheTolerance) {
    std::vector<double> x(1);
    // x = 0 and x = 5e-7 each miss the other equation by exactly 5e-7.
    EXPECT_EQ(run(2, 1, augmented({{1.0, 0.0}, {1.0, 5e-7}}), x), 0);
    ASSERT_EQ(run(2, 1, augmented({{1.0, 0.0}, {1.0, 4.9e-7}}), x), 1);
    EXPECT_EQ(x[0], 0.0);
}

TEST_P(Overdetermined, TakesTheFirstCombinationThatPasses) {
    // x = 0 and x = 8e-7 each miss another equation; the third, 4e-7, is
    // within the tolerance of all three.
    std::vector<double> x(1);
    ASSERT_EQ(run(3, 1, augmented({{1.0, 0.0}, {1.0, 8e-7}, {1.0, 4e-7}}), x), 1);
    EXPECT_EQ(x[0], 4e-7);
    // Rows 0 and 1 are parallel; the pair (0, 2) solves, and its solution
    // misses row 1 by 3e-7 only.
    std::vector<double> y(2);
    ASSERT_EQ(run(4, 2, augmented({{1.0, 1.0, 2.0}, {2.0, 2.0, 4.0 + 3e-7}, {1.0, -1.0, 0.0}, {3.0, 1.0, 4.0}}), y), 1);
    EXPECT_DOUBLE_EQ(y[0], 1.0);
    EXPECT_DOUBLE_EQ(y[1], 1.0);
}

TEST_P(Overdetermined, RankDeficientSystemsFail) {
    // Two free entries with the same composition: no unique ratios.
    const auto a = augmented({{1.0, 1.0, 2.0}, {3.0, 3.0, 6.0}, {2.0, 2.0, 4.0}});
    std::vector<double> x(2);
    EXPECT_EQ(run(3, 2, a, x), 0);
}

TEST_P(Overdetermined, NonFiniteInputFails) {
    std::vector<double> x(1);
    EXPECT_EQ(run(2, 1, augmented({{1.0, 1.0}, {NAN, 1.0}}), x), 0);
    EXPECT_EQ(run(2, 1, augmented({{1.0, 1.0}, {1.0, INFINITY}}), x), 0);
}

TEST_P(Overdetermined, RefusesBadShapes) {
    const auto a = augmented({{1.0, 1.0}, {1.0, 1.0}});
    std::vector<double> x(1);
    EXPECT_EQ(GetParam()(2, 2, a.data(), x.data()), 0);
    EXPECT_EQ(GetParam()(2, 0, a.data(), x.data()), 0);
    EXPECT_EQ(GetParam()(2, 1, nullptr, x.data()), 0);
    EXPECT_EQ(GetParam()(2, 1, a.data(), nullptr), 0);
}

INSTANTIATE_TEST_SUITE_P(LinearSystem, Overdetermined, testing::Values(&solveOverdetermined, &enumerate, &fast),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "Dispatch" : info.index == 1 ? "Enumeration" : "Fast");
                         });

TEST(ResidualsWithin, ChecksEveryRowStrictly) {
    const auto a = augmented({{1.0, 0.0, 1.0}, {0.0, 1.0, 2.0}});
    const double good[] = {1.0, 2.0};
    const double off[] = {1.0, 2.0 + 5e-7};
    EXPECT_EQ(residualsWithin(2, 2, a.data(), good, 5e-7), 1);
    EXPECT_EQ(residualsWithin(2, 2, a.data(), off, 1e-6), 1);
    EXPECT_EQ(residualsWithin(2, 2, a.data(), off, 5e-7), 0);
    EXPECT_EQ(residualsWithin(0, 2, a.data(), off, 5e-7), 1);
}

// Recipe-sized systems, far beyond what the enumeration can walk.
struct LargeSystem {
    int m, n;
    std::vector<double> a, x;
};

LargeSystem recipeSystem(int m, int n, unsigned seed) {
    std::mt19937 rng(seed);
    LargeSystem s{m, n, std::vector<double>(static_cast<std::size_t>(m) * (n + 1)), std::vector<double>(n)};
    for (int j = 0; j < n; ++j) s.x[j] = 0.5 + 0.25 * (rng() % 8);
    for (int i = 0; i < m; ++i) {
        double b = 0.0;
        for (int j = 0; j < n; ++j) {
            // Each source brings a few elements; element i leans on source i.
            const double v = (i % n == j) ? 1.0 + rng() % 3 : (rng() % 5 == 0 ? 0.5 * (rng() % 7) : 0.0);
            s.a[static_cast<std::size_t>(j) * m + i] = v;
            b += v * s.x[j];
        }
        s.a[static_cast<std::size_t>(n) * m + i] = b;
    }
    return s;
}

TEST(SolveOverdetermined, RecipeSizedSystems) {
    for (auto [m, n] : {std::pair{40, 30}, std::pair{120, 30}, std::pair{45, 15}}) {
        SCOPED_TRACE(testing::Message() << m << " x " << n);
        LargeSystem s = recipeSystem(m, n, 7u + m + n);
        std::vector<double> x(n);
        ASSERT_EQ(solve(m, n, s.a.data(), x.data()), 1);
        for (int j = 0; j < n; ++j) EXPECT_NEAR(x[j], s.x[j], 1e-9);
        // One element that cannot balance.
        s.a[static_cast<std::size_t>(n) * m + m - 1] += 0.25;
        EXPECT_EQ(solve(m, n, s.a.data(), x.data()), 0);
        // Off by less than the tolerance is still a solution.
        s.a[static_cast<std::size_t>(n) * m + m - 1] -= 0.25 - 2e-7;
        EXPECT_EQ(solve(m, n, s.a.data(), x.data()), 1);
    }
}

}  // namespace
}  // namespace qv
