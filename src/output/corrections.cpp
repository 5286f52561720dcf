#include "output/corrections.h"

namespace qv {

bool anyCorrection(const Corrections& corrections) {
    for (const auto& [row, c] : corrections)
        if (changesGrams(c)) return true;
    return false;
}

double correctedGrams(double grams, const Correction& c) {
    return grams * (1.0 + c.excessPct / 100.0) / (c.purityPct / 100.0);
}

Correction correctionOf(const Corrections* corrections, int row) {
    if (!corrections) return {};
    const auto it = corrections->find(row);
    return it == corrections->end() ? Correction{} : it->second;
}

}  // namespace qv
