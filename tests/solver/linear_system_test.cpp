// The exact linear-system solver: shapes, singular systems and the tolerance.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "solver/linear_system.h"

namespace qv {
namespace {

using Rows = std::initializer_list<std::initializer_list<double>>;

// The column-by-column augmented matrix of rows written as {a0, a1, ..., b}.
std::vector<double> augmented(Rows rows) {
    const int m = static_cast<int>(rows.size()), width = static_cast<int>(rows.begin()->size());
    std::vector<double> a(static_cast<std::size_t>(m) * width);
    int r = 0, c = 0;
    for (const auto& row : rows) {
        for (double v : row) a[static_cast<std::size_t>(c++) * m + r] = v;
        c = 0, ++r;
    }
    return a;
}

struct Case {
    const char* what;
    Rows rows;
    std::vector<double> x;  // empty: no solution
};

TEST(LinearSystem, SquareUnderdeterminedAndRecipeSized) {
    const Case cases[] = {
        {"1x1", {{4, 3}}, {0.75}},
        {"1x1 zero", {{0, 3}}, {}},
        {"pivot from below", {{0, 2, 1, 7}, {1, 1, 1, 6}, {2, 0, 3, 11}}, {1, 2, 3}},
        // A row without coefficients fails at the scaling, whatever its right-hand side.
        {"zero row, zero rhs", {{1, 2, 3}, {0, 0, 0}}, {}},
        {"zero row", {{1, 2, 3}, {0, 0, 1}}, {}},
        {"singular", {{1, 2, 3}, {2, 4, 6}}, {}},
        {"singular at pivot 2", {{1, 2, 3, 6}, {2, 4, 6, 12}, {1, 0, 1, 2}}, {}},
        {"singular at pivot 3", {{1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 2, 2}}, {}},
        {"nan", {{NAN, 1, 1}, {1, 1, 2}}, {}},
        // Equal scaled ratios keep the earlier row as pivot: the 0.1 row
        // leaves an exact zero, the 2.9 row a rounding residue, which the
        // exact comparison accepts.
        {"tie, small row first", {{0.1, 0.1, 1}, {2.9, 2.9, 1}}, {}},
        {"tie, large row first", {{2.9, 2.9, 1}, {0.1, 0.1, 1}}, {NAN}},
        {"m < n", {{1, 1, 2}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto a = augmented(c.rows);
        const int m = static_cast<int>(c.rows.size()), n = static_cast<int>(c.rows.begin()->size()) - 1;
        std::vector<double> x(n, 9);
        ASSERT_EQ(solve(m, n, a.data(), x.data()), c.x.empty() ? 0 : 1);
        EXPECT_TRUE(m >= n || x == std::vector<double>(n, 9)) << "x left alone";
        for (std::size_t j = 0; j < c.x.size(); ++j)
            EXPECT_TRUE(std::isnan(c.x[j]) || std::fabs(x[j] - c.x[j]) < 1e-12) << x[j] << " at " << j;
    }
    double unused = 0;
    EXPECT_EQ(solveSquare(0, &unused, &unused), 0);
    // Recipe-sized systems, far beyond what the enumeration can walk: each
    // source brings a few elements, element i leans on source i.
    for (auto [m, n] : {std::pair{40, 30}, std::pair{120, 30}, std::pair{45, 15}}) {
        SCOPED_TRACE(testing::Message() << m << " x " << n);
        std::mt19937 rng(7u + m + n);
        std::vector<double> a(static_cast<std::size_t>(m) * (n + 1)), want(n), x(n);
        for (double& v : want) v = 0.5 + 0.25 * (rng() % 8);
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < n; ++j) {
                const double v = (i % n == j) ? 1.0 + rng() % 3 : (rng() % 5 == 0 ? 0.5 * (rng() % 7) : 0.0);
                a[static_cast<std::size_t>(j) * m + i] = v;
                a[static_cast<std::size_t>(n) * m + i] += v * want[j];
            }
        ASSERT_EQ(solve(m, n, a.data(), x.data()), 1);
        for (int j = 0; j < n; ++j) EXPECT_NEAR(x[j], want[j], 1e-9);
        double& last = a[static_cast<std::size_t>(n) * m + m - 1];
        last += 0.25;  // one element that cannot balance
        EXPECT_EQ(solve(m, n, a.data(), x.data()), 0);
        last -= 0.25 - 2e-7;  // off by less than the tolerance
        EXPECT_EQ(solve(m, n, a.data(), x.data()), 1);
    }
}

// The over-determined cases decide the literal enumeration (which the
// dispatch runs for systems this small; the differential test holds the fast
// search to it) and the fast search forced past its work budget at once.
using Search = int (*)(int, int, const double*, double*);
const std::pair<const char*, Search> kSearches[] = {
    {"enumeration",
     [](int m, int n, const double* a, double* x) { return solveOverdeterminedByEnumeration(m, n, a, x); }},
    {"past the budget", [](int m, int n, const double* a, double* x) {
         return solveOverdeterminedFast(m, n, a, x, nullptr, 0);
     }}};

TEST(LinearSystem, OverdeterminedSearchOrderToleranceAndFailures) {
    const Case cases[] = {
        {"dependent third equation", {{1, 1, 3}, {1, -1, 1}, {2, 0, 4}}, {2, 1}},
        {"contradiction", {{1, 1, 3}, {1, -1, 1}, {2, 0, 5}}, {}},
        // 0 = 1e-6 can never hold; 0 = 1e-7 is within the tolerance.
        {"zero row off", {{2, 4}, {0, 1e-6}}, {}},
        {"zero row within", {{2, 4}, {0, 1e-7}}, {2}},
        {"zero rows passed over", {{0, 0}, {0, 0}, {3, 6}}, {2}},
        // Residuals must stay strictly below 5e-7.
        {"exactly the tolerance", {{1, 0}, {1, 5e-7}}, {}},
        {"just within", {{1, 0}, {1, 4.9e-7}}, {0}},
        // x = 0 and x = 8e-7 each miss another row; 4e-7 suits all three.
        {"first passing row", {{1, 0}, {1, 8e-7}, {1, 4e-7}}, {4e-7}},
        // Rows 0 and 1 are parallel; (0, 2) solves and misses row 1 by 3e-7.
        {"parallel pair skipped", {{1, 1, 2}, {2, 2, 4 + 3e-7}, {1, -1, 0}, {3, 1, 4}}, {1, 1}},
        {"rank deficient", {{1, 1, 2}, {3, 3, 6}, {2, 2, 4}}, {}},
        {"nan", {{1, 1}, {NAN, 1}}, {}},
        {"infinity", {{1, 1}, {1, INFINITY}}, {}},
        // Rows (0, 1) miss row 3 by 6e-7; (0, 2) passes.
        {"late pair",
         {{3, 4, 7.0000001}, {2, 3, 5.0000003}, {2, 1, 3.0000001}, {1, 0, 0.9999997}},
         {1.00000006, 0.99999998}},
    };
    for (auto [name, search] : kSearches)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << name << ": " << c.what);
            const auto a = augmented(c.rows);
            const int m = static_cast<int>(c.rows.size()), n = static_cast<int>(c.rows.begin()->size()) - 1;
            std::vector<double> x(n);
            ASSERT_EQ(search(m, n, a.data(), x.data()), c.x.empty() ? 0 : 1);
            for (std::size_t j = 0; j < c.x.size(); ++j) EXPECT_DOUBLE_EQ(x[j], c.x[j]) << j;
        }
    const auto a = augmented({{1, 1}, {1, 1}});
    double x = 0;
    for (auto [name, search] : kSearches)  // not over-determined, no unknowns, no matrix, no solution
        EXPECT_FALSE(search(2, 2, a.data(), &x) || search(2, 0, a.data(), &x) || search(2, 1, nullptr, &x) ||
                     search(2, 1, a.data(), nullptr))
            << name;
}

}  // namespace
}  // namespace qv
