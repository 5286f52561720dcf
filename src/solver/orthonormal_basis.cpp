#include "solver/orthonormal_basis.h"

#include <cmath>

namespace qv {

double dot(const double* u, const double* v, int length) {
    double s = 0.0;
    for (int i = 0; i < length; ++i) s += u[i] * v[i];
    return s;
}

void OrthonormalBasis::project(double* v, double* rhs, int passes) const {
    for (int pass = 0; pass < passes; ++pass)
        for (int t = 0; t < size(); ++t) {
            const double* q = vector(t);
            const double c = dot(q, v, length_);
            for (int j = 0; j < length_; ++j) v[j] -= c * q[j];
            if (rhs) *rhs -= c * rhs_[static_cast<std::size_t>(t)];
        }
}

bool OrthonormalBasis::add(double* v, double reference, double rhs) {
    project(v, &rhs);
    const double len = std::sqrt(dot(v, v, length_));
    if (!(len > kIndependence * reference)) return false;
    for (int j = 0; j < length_; ++j) vectors_.push_back(v[j] / len);
    rhs_.push_back(rhs / len);
    return true;
}

void OrthonormalBasis::push(const double* unit, double rhs) {
    vectors_.insert(vectors_.end(), unit, unit + length_);
    rhs_.push_back(rhs);
}

void OrthonormalBasis::pop() {
    vectors_.resize(vectors_.size() - static_cast<std::size_t>(length_));
    rhs_.pop_back();
}

}  // namespace qv
