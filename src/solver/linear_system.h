#pragma once
// The exact linear-system solver behind the ratio solver.
//
// An augmented matrix of m equations in n unknowns is m x (n + 1) doubles
// stored column by column: row r, column c lies at a[c * m + r]; columns 0 to
// n - 1 hold the coefficients, column n the right-hand side. Every operation
// answers 1 on success and 0 on failure and never throws.

#include <vector>

namespace qv {

// Absolute tolerance of the over-determined search (pre-check and residuals).
inline constexpr double kLinearSystemTolerance = 5e-7;

// Dispatches on the shape: m > n searches, m == n eliminates in place (the
// caller's matrix is overwritten), m < n fails without touching x.
int solve(int m, int n, double* a, double* x);

// Gaussian elimination with scaled partial pivoting on an n x (n + 1) matrix,
// modified in place. Fails on a zero row or an exactly zero pivot.
int solveSquare(int n, double* a, double* x);

// For m > n: the solution of the first square subsystem, in lexicographic order
// of row combinations, that satisfies every equation within the tolerance.
// The matrix is left unchanged; after a failure x holds no meaningful value.
int solveOverdetermined(int m, int n, const double* a, double* x);

// 1 when |b_i - sum_j a(i, j) x[j]| < tolerance for every row (or m < 1).
int residualsWithin(int m, int n, const double* a, const double* x, double tolerance);

// The literal search that tries the combinations one after the other. Its cost
// grows with m-choose-n; kept as the reference the fast search must agree
// with. When `chosenRows` is given it receives the accepted combination
// (empty on failure).
int solveOverdeterminedByEnumeration(int m, int n, const double* a, double* x,
                                     std::vector<int>* chosenRows = nullptr);

// Work allowance of the fast search in multiply-adds, about ten milliseconds.
inline constexpr double kFastSearchBudget = 1.0e7;

// The polynomial search that decides which combination the enumeration would
// accept (see fast_search.cpp). solveOverdetermined uses it once the number
// of combinations is large; callable directly so tests can force it. Only a
// system that misses consistency by about the tolerance can exhaust
// `workBudget`; the search then answers some passing combination or fails.
int solveOverdeterminedFast(int m, int n, const double* a, double* x, std::vector<int>* chosenRows = nullptr,
                            double workBudget = kFastSearchBudget);

}  // namespace qv
