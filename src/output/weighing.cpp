#include "output/weighing.h"

#include <cmath>

#include "core/composition.h"
#include "form/model.h"

namespace qv {
namespace {

bool finite(const Composition& c) {
    for (const auto& [e, amount] : c) {
        (void)e;
        if (!std::isfinite(amount)) return false;
    }
    return true;
}

std::string tooLarge(const Formula& entry) {
    return "The grams of " + entry.text() + " (row " + std::to_string(entry.index() + 1) +
           ") are too large to weigh.";
}

}  // namespace

WeighingAmounts computeWeighingAmounts(Model& model, double grams) {
    WeighingAmounts result;
    Formula& final = model.finalCompound();
    result.finalMolarMass = final.molarMass();
    // Output is only enabled for a non-zero final ratio, but a formula such as
    // H0 or () still has no mass; dividing by it would print inf or nan.
    if (std::fabs(result.finalMolarMass) < kZeroTolerance || std::fabs(final.ratio()) < kZeroTolerance) {
        result.refusal = kZeroFinalMassText;
        return result;
    }
    // Same evaluation order as the reports have always used, so the last digit agrees.
    const double k = (grams / result.finalMolarMass) / final.ratio();
    Composition mix;
    for (int row = 0; row < kSourceRows; ++row) {
        Formula& entry = model.source(row);
        if (entry.classify() < Free) continue;
        const double mass = entry.molarMass();
        const double weighed = (entry.ratio() * mass) * k;
        addScaled(mix, entry.composition(), entry.ratio() / final.ratio());
        if (!std::isfinite(k) || !std::isfinite(weighed) || !finite(mix)) {
            result.rows.clear();
            result.refusal = tooLarge(entry);
            return result;
        }
        result.rows.push_back({row, mass, weighed});
    }
    result.ok = true;
    return result;
}

std::string balanceResidual(Model& model) {
    const Formula& final = model.finalCompound();
    if (std::fabs(final.ratio()) < kZeroTolerance) return std::string(kZeroFinalRatioText);
    Composition mix;
    for (int row = 0; row < kSourceRows; ++row) {
        const Formula& entry = model.source(row);
        if (entry.classify() < Free) continue;
        addScaled(mix, entry.composition(), entry.ratio() / final.ratio());
    }
    subtractComposition(mix, final.composition());
    return compositionText(model.elementTable(), mix);
}

}  // namespace qv
