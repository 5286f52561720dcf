#pragma once
// Orthonormal vectors of one length, built one at a time by Gram-Schmidt
// with a second pass, each with an optional right-hand side carried along.
// The one projection every step of the over-determined search uses.

#include <cstddef>
#include <vector>

namespace qv {

// A row counts as independent of others when the part orthogonal to them is
// larger than this fraction of its length.
inline constexpr double kIndependence = 1e-10;

double dot(const double* u, const double* v, int length);

class OrthonormalBasis {
public:
    explicit OrthonormalBasis(int length) : length_(length) {}

    int size() const { return static_cast<int>(rhs_.size()); }
    const double* vector(int t) const { return &vectors_[static_cast<std::size_t>(t) * length_]; }

    // Takes out of v, and of its right-hand side when given, its components
    // along the vectors, `passes` times (twice keeps the result orthogonal).
    void project(double* v, double* rhs = nullptr, int passes = 2) const;

    // Projects v (changing it) and keeps it, normalised, when the part left is
    // longer than kIndependence * `reference`; false when it depends on the
    // vectors already kept.
    bool add(double* v, double reference, double rhs = 0.0);
    // Keeps an already normalised vector.
    void push(const double* unit, double rhs = 0.0);
    void pop();

private:
    int length_;
    std::vector<double> vectors_;  // size() rows of length_
    std::vector<double> rhs_;
};

}  // namespace qv
