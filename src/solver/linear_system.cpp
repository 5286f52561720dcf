#include "solver/linear_system.h"
#include "solver/search_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace qv {

namespace {

// True for an exact zero and for a NaN: either makes a pivot unusable.
bool unusablePivot(double v) { return !(v != 0.0) || std::isnan(v); }

// m-choose-n, saturating at `cap`.
double combinations(int m, int n, double cap) {
    double c = 1.0;
    for (int i = 1; i <= n; ++i) {
        c = c * (m - n + i) / i;
        if (c > cap) return cap + 1.0;
    }
    return c;
}

// Below this many combinations the literal enumeration is cheap enough.
constexpr double kEnumerationLimit = 2000.0;

}  // namespace

bool copyRows(int m, int n, const double* a, const int* rows, double* w) {
    for (int k = 0; k < n; ++k) {
        const int r = rows[k];
        bool allZero = true;
        for (int c = 0; c <= n; ++c) {
            const double v = a[static_cast<std::size_t>(c) * m + r];
            w[static_cast<std::size_t>(c) * n + k] = v;
            if (v != 0.0) allZero = false;
        }
        if (allZero) return false;
    }
    return true;
}

bool hasContradictoryZeroRow(int m, int n, const double* a) {
    for (int i = 0; i < m; ++i) {
        bool coefficientsZero = true;
        for (int j = 0; j < n && coefficientsZero; ++j)
            coefficientsZero = std::fabs(a[static_cast<std::size_t>(j) * m + i]) < kLinearSystemTolerance;
        if (coefficientsZero && !(std::fabs(a[static_cast<std::size_t>(n) * m + i]) < kLinearSystemTolerance))
            return true;
    }
    return false;
}

int solveSquare(int n, double* a, double* x) {
    if (n < 1 || a == nullptr || x == nullptr) return 0;
    auto at = [a, n](int i, int k) -> double& { return a[static_cast<std::size_t>(k) * n + i]; };

    std::vector<double> s(n);
    std::vector<int> l(n);
    for (int i = 0; i < n; ++i) {
        double largest = 0.0;
        for (int j = 0; j < n; ++j) {
            const double v = std::fabs(at(i, j));
            if (v > largest) largest = v;
        }
        if (largest == 0.0) return 0;
        s[i] = largest;
        l[i] = i;
    }

    for (int k = 0; k + 1 < n; ++k) {
        double best = -1.0;
        int p = k;
        for (int i = k; i < n; ++i) {
            const double ratio = std::fabs(at(l[i], k)) / s[l[i]];
            if (ratio > best) {
                best = ratio;
                p = i;
            }
        }
        if (unusablePivot(at(l[p], k))) return 0;
        if (p != k) std::swap(l[k], l[p]);
        const double pivot = at(l[k], k);
        for (int i = k + 1; i < n; ++i) {
            const double factor = at(l[i], k) / pivot;
            for (int t = k + 1; t <= n; ++t) at(l[i], t) -= at(l[k], t) * factor;
        }
    }
    if (unusablePivot(at(l[n - 1], n - 1))) return 0;

    x[n - 1] = at(l[n - 1], n) / at(l[n - 1], n - 1);
    for (int i = n - 2; i >= 0; --i) {
        double sum = 0.0;
        for (int j = i + 1; j < n; ++j) sum += at(l[i], j) * x[j];
        x[i] = (at(l[i], n) - sum) / at(l[i], i);
    }
    return 1;
}

int residualsWithin(int m, int n, const double* a, const double* x, double tolerance) {
    for (int i = 0; i < m; ++i) {
        double sum = 0.0;
        for (int j = 0; j < n; ++j) sum += a[static_cast<std::size_t>(j) * m + i] * x[j];
        if (!(std::fabs(a[static_cast<std::size_t>(n) * m + i] - sum) < tolerance)) return 0;
    }
    return 1;
}

int solveOverdeterminedByEnumeration(int m, int n, const double* a, double* x, std::vector<int>* chosenRows) {
    if (chosenRows) chosenRows->clear();
    if (m < 1 || n < 1 || m <= n || a == nullptr || x == nullptr) return 0;
    if (hasContradictoryZeroRow(m, n, a)) return 0;

    std::vector<double> work(static_cast<std::size_t>(n) * (n + 1));
    std::vector<int> q(n);
    for (int t = 0; t < n; ++t) q[t] = t;
    for (;;) {
        if (copyRows(m, n, a, q.data(), work.data()) && solveSquare(n, work.data(), x) &&
            residualsWithin(m, n, a, x, kLinearSystemTolerance)) {
            if (chosenRows) *chosenRows = q;
            return 1;
        }
        int t = n - 1;
        while (t >= 0 && q[t] >= m - n + t) --t;
        if (t < 0) return 0;
        ++q[t];
        for (int u = t + 1; u < n; ++u) q[u] = q[u - 1] + 1;
    }
}

int solveOverdetermined(int m, int n, const double* a, double* x) {
    if (m > n && n > 0 && combinations(m, n, kEnumerationLimit) <= kEnumerationLimit)
        return solveOverdeterminedByEnumeration(m, n, a, x);
    return solveOverdeterminedFast(m, n, a, x);
}

int solve(int m, int n, double* a, double* x) {
    if (m > n) return solveOverdetermined(m, n, a, x);
    if (m < n) return 0;
    return solveSquare(n, a, x);
}

}  // namespace qv
