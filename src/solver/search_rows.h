#pragma once
// What the enumeration and the fast search of the over-determined solve share:
// how a leaf copies its rows and the test that settles a system up front.

namespace qv {

// Copies rows `rows` of the m x (n + 1) matrix `a` into the n x (n + 1) work
// matrix `w` (leading dimension n). False when a copied row is exactly zero in
// every column, right-hand side included.
bool copyRows(int m, int n, const double* a, const int* rows, double* w);

// An equation that has no coefficient but a right-hand side can never hold.
bool hasContradictoryZeroRow(int m, int n, const double* a);

}  // namespace qv
