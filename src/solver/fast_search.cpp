// The fast search of the over-determined solve: decides which combination
// of rows the enumeration would accept without trying them all.
#include <algorithm>
#include <cmath>
#include <vector>

#include "solver/linear_system.h"
#include "solver/orthonormal_basis.h"
#include "solver/search_rows.h"

namespace qv {

// Why the fast search answers like the enumeration
// --------------------------------------------------
// The enumeration accepts the first combination, in lexicographic order, whose
// square solve succeeds and whose solution passes the residual test on all m
// rows. In exact arithmetic the square solve succeeds exactly on the
// combinations whose rows are linearly independent (elimination with partial
// pivoting meets a zero pivot only when the remaining column is zero, i.e.
// the matrix is singular; a zero coefficient row fails the scaling). So the
// enumeration accepts the lexicographically first basis S of the row space
// whose basic solution x_S passes the residual test, or nothing.
//
// The fast search walks the same lexicographic order as a depth-first search
// over prefixes q(0) < ... < q(k-1) and visits only what can matter:
//  - a child row that depends on the prefix is skipped: every combination
//    through it is singular;
//  - a child r is skipped when the prefix, r and all rows after r do not span
//    R^n: no combination completes it to a basis;
//  - a prefix P is cut when no x with A_P x = b_P can pass the residual test.
//    On that affine set each residual is r_j(x) = w_j . x - beta_j, with w_j
//    the part of row j orthogonal to the prefix rows. A row with w_j = 0 has a
//    fixed residual -beta_j, and max_j |r_j| >= ||W z - beta||_2 / sqrt(m)
//    for the least-squares minimiser z. Either bound at or above the
//    tolerance means no basic solution below P passes.
// Leaves (n independent rows) run exactly the enumeration's copy, square
// solve and residual test, so an accepted answer is bit for bit the one the
// enumeration computes for that combination. The very first combination is
// tried before anything else: when it passes, it is the answer. The first leaf
// of the walk is the greedy basis (each row taken when independent of those
// before it), which for a matroid is the lexicographically first basis; a
// consistent system stops there, and a system whose least-squares fit misses
// by more than the
// tolerance is cut at the root (least-squares bound). Systems that miss by
// about the tolerance descend further; there each prefix also gets the exact
// cut of discrete Chebyshev approximation: a reference of n - k + 1 rows whose
// open parts are dependent, V_T^T u = 0, proves that every point of the set
// misses one of them by at least |u . beta_T| / ||u||_1, and the exchange
// method raises that bound to the best uniform fit or stops at a point within
// the tolerance of every row.
//
// Finding the first combination whose solution lies within the tolerance of
// every equation is a combinatorial problem in general; the walk above stays
// short for consistent systems and for systems that miss by a clear margin,
// but a system that misses consistency by about the tolerance in many
// equations at once can make it long. A work budget (kFastSearchBudget,
// about ten milliseconds) bounds it; past the budget the search settles for
// any combination that passes, found by a least-absolute-deviations fit or by
// moving from a point within the tolerance onto one equation after another,
// and fails if neither finds one. Only then can its answer differ from the
// enumeration's other than by rounding: another combination that satisfies
// every equation, or failure.
//
// Where floating point makes exact agreement impossible:
//  - a combination that is singular in exact arithmetic (rows that are sums
//    or multiples of others, with decimal coefficients) can reach the
//    enumeration's square solve with a rounding residue instead of a zero
//    pivot; its solution is then arbitrary along the null direction, and
//    sometimes still passes the residual test. The fast search treats such a
//    combination as singular (relative threshold kIndependence), so it may
//    answer a later combination, or fail on a rank-deficient system where the
//    enumeration returned one of infinitely many solutions;
//  - conversely a nonsingular combination whose elimination cancels to an
//    exact zero is rejected by both, since both use the same square solver;
//  - cuts use bounds computed in floating point with a small relative margin;
//    a combination whose solution misses the tolerance by less than rounding
//    (ill-conditioned rows) can be judged differently.
// In every case an answer of the fast search has passed the same residual
// test on all m equations.

namespace {

// Cuts need the bound to clear the tolerance by this relative margin.
constexpr double kCutTolerance = kLinearSystemTolerance * (1.0 + 1e-6);

class FastSearch {
public:
    FastSearch(int m, int n, const double* a, double budget) : m_(m), n_(n), a_(a), budget_(budget) {
        rows_.resize(static_cast<std::size_t>(m) * n);
        rhs_.resize(m);
        norms_.resize(m);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < n; ++j) rows_[idx(i, j)] = a[static_cast<std::size_t>(j) * m + i];
            rhs_[i] = a[static_cast<std::size_t>(n) * m + i];
            norms_[i] = std::sqrt(dot(&rows_[idx(i, 0)], &rows_[idx(i, 0)], n));
        }
        work_.resize(static_cast<std::size_t>(n) * (n + 1));
        chosen_.reserve(n);
    }

    int run(double* x, std::vector<int>* chosenRows) {
        int found = 0;
        // The enumeration's own first step, which settles most recipes at the
        // cost of one square solve.
        std::vector<int> first(n_);
        for (int t = 0; t < n_; ++t) first[t] = t;
        if (testLeaf(first, x)) {
            found = 1;
            chosen_ = first;
        } else if (greedyBasis() && testLeaf(greedy_, x)) {
            found = 1;
            chosen_ = greedy_;
        } else if (!greedy_.empty()) {
            // Greedy found a basis, but its solution failed: search on.
            chosen_.clear();
            const Outcome o = descend(rows_, rhs_, -1, x);
            found = o == Outcome::Found ? 1 : 0;
            if (o == Outcome::OutOfBudget) {
                chosen_.clear();
                prefix_ = OrthonormalBasis(n_);
                found = (leastDeviationsBasis(x) || crossover(x)) ? 1 : 0;
            }
        }
        if (found && chosenRows) *chosenRows = chosen_;
        return found;
    }

private:
    enum class Outcome { Found, NotFound, OutOfBudget };

    std::size_t idx(int i, int j) const { return static_cast<std::size_t>(i) * n_ + j; }

    // The lexicographically first basis, row by row; empty when the rows do not
    // span R^n (then no combination is nonsingular and the search fails).
    bool greedyBasis() {
        std::vector<int> all(m_);
        for (int i = 0; i < m_; ++i) all[i] = i;
        greedy_ = independentRows(all);
        if (static_cast<int>(greedy_.size()) < n_) greedy_.clear();
        return !greedy_.empty();
    }

    // Takes the candidate rows in the order given, each one that is
    // independent of those taken before, until n are taken; fewer when the
    // candidates do not span R^n.
    std::vector<int> independentRows(const std::vector<int>& candidates) const {
        OrthonormalBasis basis(n_);
        std::vector<double> v(n_);
        std::vector<int> rows;
        for (const int i : candidates) {
            if (static_cast<int>(rows.size()) == n_) break;
            if (norms_[i] == 0.0) continue;
            std::copy_n(&rows_[idx(i, 0)], n_, v.begin());
            if (basis.add(v.data(), norms_[i], rhs_[i])) rows.push_back(i);
        }
        return rows;
    }

    bool testLeaf(const std::vector<int>& rows, double* x) {
        return copyRows(m_, n_, a_, rows.data(), work_.data()) && solveSquare(n_, work_.data(), x) &&
               residualsWithin(m_, n_, a_, x, kLinearSystemTolerance);
    }

    // An orthonormal basis (rows of n) of the complement of the prefix rows'
    // span: the axes with the prefix taken out, each step taking the one with
    // the largest part left (at least 1/sqrt(n) long, so the basis is well
    // conditioned).
    OrthonormalBasis openDirections() const {
        const int k = prefix_.size();
        std::vector<double> axes(static_cast<std::size_t>(n_) * n_, 0.0);  // row j: axis j, projected
        for (int j = 0; j < n_; ++j) {
            double* v = &axes[idx(j, 0)];
            v[j] = 1.0;
            for (int u = 0; u < k; ++u) {
                const double* q = prefix_.vector(u);
                for (int i = 0; i < n_; ++i) v[i] -= q[j] * q[i];
            }
        }
        OrthonormalBasis open(n_);
        std::vector<char> used(n_, 0);
        for (int t = k; t < n_; ++t) {
            int best = -1;
            double bestLen = -1.0;
            for (int j = 0; j < n_; ++j) {
                if (used[j]) continue;
                const double len = dot(&axes[idx(j, 0)], &axes[idx(j, 0)], n_);
                if (len > bestLen) bestLen = len, best = j;
            }
            used[best] = 1;
            std::vector<double> d(&axes[idx(best, 0)], &axes[idx(best, 0)] + n_);
            // Once more against the prefix and the directions so far.
            prefix_.project(d.data(), nullptr, 1);
            open.project(d.data(), nullptr, 1);
            const double len = std::sqrt(dot(d.data(), d.data(), n_));
            for (double& e : d) e /= len;
            OrthonormalBasis direction(n_);
            direction.push(d.data());
            open.push(d.data());
            for (int j = 0; j < n_; ++j)
                if (!used[j]) direction.project(&axes[idx(j, 0)], nullptr, 1);
        }
        return open;
    }

    // True when no point of the prefix's affine set can pass the residual test.
    // w (m x n) and beta hold every row's part orthogonal to the prefix.
    bool cannotPass(const std::vector<double>& w, const std::vector<double>& beta, int k) {
        std::vector<int> active;  // rows whose residual still varies on the set
        for (int i = 0; i < m_; ++i) {
            const double len = std::sqrt(dot(&w[idx(i, 0)], &w[idx(i, 0)], n_));
            if (len > kIndependence * norms_[i])
                active.push_back(i);
            else if (std::fabs(beta[i]) >= kCutTolerance)
                return true;
        }
        // Coordinates of the rows in the n - k directions the prefix leaves
        // open (the coordinate axes would leave rounding noise in columns that
        // should vanish).
        const int d = n_ - k;
        const OrthonormalBasis open = openDirections();
        std::vector<double> v(static_cast<std::size_t>(m_) * d, 0.0);
        for (int i : active)
            for (int t = 0; t < d; ++t)
                v[static_cast<std::size_t>(i) * d + t] = dot(&w[idx(i, 0)], open.vector(t), n_);
        spent_ += 2.0 * (m_ + n_) * n_ * (d + 1);

        // Least-squares residual of V z = beta: cheap, and enough whenever the
        // system misses by much more than the tolerance.
        OrthonormalBasis cols(m_);  // the columns of V
        std::vector<double> c(m_);
        for (int t = 0; t < d; ++t) {
            for (int i = 0; i < m_; ++i) c[i] = v[static_cast<std::size_t>(i) * d + t];
            const double before = std::sqrt(dot(c.data(), c.data(), m_));
            if (before != 0.0) cols.add(c.data(), before);
        }
        std::vector<double> r(beta);
        cols.project(r.data());
        spent_ += 4.0 * m_ * d * (d + 1);
        if (std::sqrt(dot(r.data(), r.data(), m_)) >= kCutTolerance * std::sqrt(static_cast<double>(m_)))
            return true;
        return chebyshevExceeds(v, d, beta, active);
    }

    // Solves the d x d system `mat` (row-major) * y = rhs through the square
    // solver; false when it fails.
    static bool solveDense(int d, const std::vector<double>& mat, std::vector<double>& rhs) {
        std::vector<double> a(static_cast<std::size_t>(d) * (d + 1)), y(d);
        for (int i = 0; i < d; ++i) {
            for (int j = 0; j < d; ++j)
                a[static_cast<std::size_t>(j) * d + i] = mat[static_cast<std::size_t>(i) * d + j];
            a[static_cast<std::size_t>(d) * d + i] = rhs[i];
        }
        if (!solveSquare(d, a.data(), y.data())) return false;
        rhs = y;
        return true;
    }

    // The best uniform fit of V z = beta over the active rows, by the exchange
    // method for discrete Chebyshev approximation. A reference of d + 1 rows
    // with V_T^T u = 0 proves that every z misses one of them by at least
    // |u . beta_T| / ||u||_1, since u . (V_T z - beta_T) = -u . beta_T; each
    // exchange raises that bound. True once the bound reaches the tolerance;
    // false when a point inside every tolerance band turns up, or when the
    // exchange stalls (no cut is always safe).
    bool chebyshevExceeds(const std::vector<double>& v, int d, const std::vector<double>& beta,
                          const std::vector<int>& active) {
        auto row = [&](int i) { return &v[static_cast<std::size_t>(i) * d]; };
        auto residuals = [&](const std::vector<double>& z, int& worst) {
            double largest = -1.0;
            for (int i : active) {
                const double e = std::fabs(dot(row(i), z.data(), d) - beta[i]);
                if (e > largest) largest = e, worst = i;
            }
            return largest;
        };
        // Solves z with V_B z = target over the d rows B; false when singular.
        std::vector<double> mat, z;
        auto basicSolution = [&](const std::vector<int>& basis, const std::vector<double>& target) {
            mat.assign(static_cast<std::size_t>(d) * d, 0.0);
            for (int t = 0; t < d; ++t) std::copy_n(row(basis[t]), d, &mat[static_cast<std::size_t>(t) * d]);
            z = target;
            spent_ += 1.0 * d * d * d;
            return solveDense(d, mat, z);
        };
        // lambda with V_B^T lambda = v_l.
        auto dependency = [&](const std::vector<int>& basis, int l, std::vector<double>& lambda) {
            mat.assign(static_cast<std::size_t>(d) * d, 0.0);
            for (int t = 0; t < d; ++t)
                for (int j = 0; j < d; ++j) mat[static_cast<std::size_t>(j) * d + t] = row(basis[t])[j];
            lambda.assign(row(l), row(l) + d);
            spent_ += 1.0 * d * d * d;
            return solveDense(d, mat, lambda);
        };

        // Start: d independent active rows, greedily.
        std::vector<int> basis;
        {
            OrthonormalBasis q(d);
            std::vector<double> e(d);
            for (int i : active) {
                if (static_cast<int>(basis.size()) == d) break;
                std::copy_n(row(i), d, e.begin());
                const double before = std::sqrt(dot(e.data(), e.data(), d));
                if (before != 0.0 && q.add(e.data(), before)) basis.push_back(i);
            }
        }
        if (static_cast<int>(basis.size()) < d) return false;
        std::vector<double> target(d);
        for (int t = 0; t < d; ++t) target[t] = beta[basis[t]];
        if (!basicSolution(basis, target)) return false;
        int worst = -1;
        if (residuals(z, worst) < kCutTolerance) {
            insidePoint_ = z;
            return false;
        }

        // Reference T = basis + worst, dual u = (lambda, -1).
        std::vector<int> ref(basis);
        ref.push_back(worst);
        std::vector<double> lambda, u;
        if (!dependency(basis, worst, lambda)) return false;
        u = lambda;
        u.push_back(-1.0);

        double bound = 0.0;
        for (int iteration = 0; iteration < 8 * (d + 1); ++iteration) {
            double ub = 0.0, un = 0.0;
            for (int t = 0; t <= d; ++t) ub += u[t] * beta[ref[t]], un += std::fabs(u[t]);
            if (!(un > 0.0)) return false;
            const double h = ub / un;
            if (std::fabs(h) >= kCutTolerance) return true;
            if (iteration > 0 && !(std::fabs(h) > bound)) return false;  // stalled
            bound = std::fabs(h);
            // Levelled solution: residual -sign(u_j) h on the reference.
            int drop = 0;
            for (int t = 1; t <= d; ++t)
                if (std::fabs(u[t]) > std::fabs(u[drop])) drop = t;
            basis.clear();
            target.clear();
            for (int t = 0; t <= d; ++t) {
                if (t == drop) continue;
                basis.push_back(ref[t]);
                target.push_back(beta[ref[t]] - (u[t] > 0 ? 1.0 : u[t] < 0 ? -1.0 : 0.0) * h);
            }
            if (!basicSolution(basis, target)) return false;
            spent_ += 2.0 * m_ * d;
            if (residuals(z, worst) < kCutTolerance) {
                insidePoint_ = z;
                return false;
            }
            // Bring `worst` in: dependencies on ref + worst are spanned by
            // (u, 0) and g = (lambda on basis, 0 on drop, -1 on worst).
            if (!dependency(basis, worst, lambda)) return false;
            std::vector<double> g(d + 2, 0.0);
            for (int t = 0, b = 0; t <= d; ++t)
                if (t != drop) g[t] = lambda[b++];
            g[d + 1] = -1.0;
            std::vector<double> uu(u);
            uu.push_back(0.0);
            // Leave out the reference row whose removal gives the best bound.
            double bestBound = -1.0;
            int bestOut = -1;
            std::vector<double> bestDual;
            for (int q = 0; q <= d; ++q) {
                std::vector<double> cand(d + 2);
                if (q == drop) {
                    cand = g;
                } else {
                    if (g[q] == 0.0) continue;
                    const double sgl = -uu[q] / g[q];
                    for (int t = 0; t < d + 2; ++t) cand[t] = uu[t] + sgl * g[t];
                    cand[q] = 0.0;
                }
                double cb = 0.0, cn = 0.0;
                for (int t = 0; t < d + 2; ++t) {
                    const int r = t <= d ? ref[t] : worst;
                    cb += cand[t] * beta[r];
                    cn += std::fabs(cand[t]);
                }
                if (!(cn > 0.0)) continue;
                if (std::fabs(cb) / cn > bestBound)
                    bestBound = std::fabs(cb) / cn, bestOut = q, bestDual = cand;
            }
            if (bestOut < 0) return false;
            ref[bestOut] = worst;
            u.assign(d + 1, 0.0);
            for (int t = 0; t <= d; ++t) u[t] = t == bestOut ? bestDual[d + 1] : bestDual[t];
        }
        return false;
    }

    // First fallback once the budget is spent: a fit of least absolute
    // deviations lies on n of the equations and tends to leave exactly the
    // equations that disagree with the rest; approximate it by reweighted least
    // squares and try the basis of the equations it meets most closely.
    bool leastDeviationsBasis(double* x) {
        std::vector<double> point(n_, 0.0), weight(m_, 1.0), normal, rhs;
        for (int iteration = 0; iteration < 40; ++iteration) {
            normal.assign(static_cast<std::size_t>(n_) * n_, 0.0);
            rhs.assign(n_, 0.0);
            for (int i = 0; i < m_; ++i) {
                const double* a = &rows_[idx(i, 0)];
                for (int p = 0; p < n_; ++p) {
                    if (a[p] == 0.0) continue;
                    for (int q = 0; q < n_; ++q)
                        normal[static_cast<std::size_t>(p) * n_ + q] += weight[i] * a[p] * a[q];
                    rhs[p] += weight[i] * a[p] * rhs_[i];
                }
            }
            spent_ += 1.0 * m_ * n_ * n_ + 1.0 * n_ * n_ * n_;
            if (!solveDense(n_, normal, rhs)) return false;
            point = rhs;
            for (int i = 0; i < m_; ++i) {
                const double r = std::fabs(dot(&rows_[idx(i, 0)], point.data(), n_) - rhs_[i]);
                weight[i] = 1.0 / std::max(r, 1e-6 * kLinearSystemTolerance);
            }
        }
        std::vector<std::pair<double, int>> order;
        for (int i = 0; i < m_; ++i)
            order.emplace_back(std::fabs(dot(&rows_[idx(i, 0)], point.data(), n_) - rhs_[i]), i);
        std::sort(order.begin(), order.end());
        std::vector<int> byResidual;
        for (const auto& entry : order) byResidual.push_back(entry.second);
        std::vector<int> rows = independentRows(byResidual);
        if (static_cast<int>(rows.size()) < n_) return false;
        std::sort(rows.begin(), rows.end());
        if (!testLeaf(rows, x)) return false;
        chosen_ = rows;
        return true;
    }

    // Fallback once the budget is spent: a combination whose solution passes,
    // not necessarily the first one. From a point within the tolerance of
    // every equation, make one more equation exact at a time by the shortest
    // move that keeps the equations made exact so far, taking the move
    // that leaves the most room within the tolerance; the n rows
    // made exact then go through the enumeration's own test.
    bool crossover(double* x) {
        insidePoint_.clear();
        if (cannotPass(rows_, rhs_, 0) || insidePoint_.empty()) return false;
        const OrthonormalBasis open = openDirections();
        std::vector<double> point(n_, 0.0);
        for (int t = 0; t < n_; ++t)
            for (int j = 0; j < n_; ++j) point[j] += insidePoint_[t] * open.vector(t)[j];

        OrthonormalBasis basis(n_);  // spanning the exact rows
        std::vector<int> exact;
        std::vector<char> taken(m_, 0);
        std::vector<double> w(n_), next(n_);
        while (static_cast<int>(exact.size()) < n_) {
            // Of the moves that stay within the tolerance, take the one that
            // leaves the most room on the tightest equation.
            int bestRow = -1;
            double bestRoom = 0.0;
            std::vector<double> bestPoint, bestDirection;
            for (int i = 0; i < m_; ++i) {
                if (taken[i] || norms_[i] == 0.0) continue;
                std::copy_n(&rows_[idx(i, 0)], n_, w.begin());
                basis.project(w.data());
                const double len2 = dot(w.data(), w.data(), n_);
                if (!(std::sqrt(len2) > kIndependence * norms_[i])) continue;
                const double r = dot(&rows_[idx(i, 0)], point.data(), n_) - rhs_[i];
                for (int j = 0; j < n_; ++j) next[j] = point[j] - r / len2 * w[j];
                spent_ += 2.0 * m_ * n_;
                double room = kLinearSystemTolerance;
                for (int e = 0; e < m_ && room > bestRoom; ++e)
                    room = std::min(room, kLinearSystemTolerance -
                                              std::fabs(dot(&rows_[idx(e, 0)], next.data(), n_) - rhs_[e]));
                if (room > bestRoom) {
                    bestRoom = room;
                    bestRow = i;
                    bestPoint = next;
                    bestDirection.assign(w.begin(), w.end());
                    for (double& e : bestDirection) e /= std::sqrt(len2);
                }
            }
            if (bestRow < 0) return false;
            point = bestPoint;
            basis.push(bestDirection.data());
            exact.push_back(bestRow);
            taken[bestRow] = 1;
        }
        std::sort(exact.begin(), exact.end());
        if (!testLeaf(exact, x)) return false;
        chosen_ = exact;
        return true;
    }

    // Visits, in lexicographic order, the combinations that extend the chosen
    // prefix (`chosen_`, last row `last`) with rows after `last`. w and beta
    // are every row's part orthogonal to the prefix.
    Outcome descend(const std::vector<double>& w, const std::vector<double>& beta, int last, double* x) {
        const int k = static_cast<int>(chosen_.size());
        if (k == n_) return testLeaf(chosen_, x) ? Outcome::Found : Outcome::NotFound;
        if (spent_ > budget_) return Outcome::OutOfBudget;
        if (cannotPass(w, beta, k)) return Outcome::NotFound;

        // Last row that can still start a completion: the rows from it on must
        // span the n - k directions the prefix leaves open.
        OrthonormalBasis span(n_);
        std::vector<double> v(n_);
        int lastStart = -1;
        for (int i = m_ - 1; i > last && span.size() < n_ - k; --i) {
            if (norms_[i] == 0.0) continue;
            std::copy_n(&w[idx(i, 0)], n_, v.begin());
            if (span.add(v.data(), norms_[i], beta[i]) && span.size() == n_ - k) lastStart = i;
        }
        spent_ += 4.0 * (m_ - last) * n_ * (n_ - k);
        if (lastStart < 0) return Outcome::NotFound;

        std::vector<double> childW(w.size()), childBeta(beta.size());
        for (int r = last + 1; r <= lastStart; ++r) {
            if (norms_[r] == 0.0) continue;
            const double len = std::sqrt(dot(&w[idx(r, 0)], &w[idx(r, 0)], n_));
            if (!(len > kIndependence * norms_[r])) continue;
            // New orthonormal direction from row r; take it out of every row.
            std::vector<double> q(&w[idx(r, 0)], &w[idx(r, 0)] + n_);
            for (double& e : q) e /= len;
            OrthonormalBasis direction(n_);
            direction.push(q.data(), beta[r] / len);
            childW = w;
            childBeta = beta;
            for (int i = 0; i < m_; ++i) direction.project(&childW[idx(i, 0)], &childBeta[i]);
            spent_ += 4.0 * m_ * n_;
            chosen_.push_back(r);
            prefix_.push(q.data());
            const Outcome o = descend(childW, childBeta, r, x);
            if (o != Outcome::NotFound) return o;
            chosen_.pop_back();
            prefix_.pop();
        }
        return Outcome::NotFound;
    }

    int m_, n_;
    const double* a_;
    std::vector<double> rows_, rhs_, norms_, work_;
    std::vector<int> greedy_, chosen_;
    OrthonormalBasis prefix_{n_};      // spanning the chosen rows
    std::vector<double> insidePoint_;  // last point the exchange found within the tolerance
    double budget_;
    double spent_ = 0.0;
};

bool allFinite(int m, int n, const double* a) {
    const std::size_t count = static_cast<std::size_t>(m) * (n + 1);
    for (std::size_t i = 0; i < count; ++i)
        if (!std::isfinite(a[i])) return false;
    return true;
}

}  // namespace

int solveOverdeterminedFast(int m, int n, const double* a, double* x, std::vector<int>* chosenRows,
                            double workBudget) {
    if (chosenRows) chosenRows->clear();
    if (m < 1 || n < 1 || m <= n || a == nullptr || x == nullptr) return 0;
    if (hasContradictoryZeroRow(m, n, a)) return 0;
    // Any infinity or NaN makes every residual test fail.
    if (!allFinite(m, n, a)) return 0;
    FastSearch search(m, n, a, workBudget);
    return search.run(x, chosenRows);
}

}  // namespace qv
