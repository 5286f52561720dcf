#include "output/weighing.h"

#include <cmath>

#include "core/composition.h"
#include "form/model.h"

namespace qv {

WeighingAmounts computeWeighingAmounts(Model& model, double grams) {
    WeighingAmounts result;
    Formula& final = model.finalCompound();
    result.finalMolarMass = final.molarMass();
    // Output is only enabled for a non-zero final ratio, but a formula such as
    // H0 or () still has no mass; dividing by it would print inf or nan.
    if (std::fabs(result.finalMolarMass) < kZeroTolerance || std::fabs(final.ratio()) < kZeroTolerance)
        return result;
    // Same evaluation order as the reports have always used, so the last digit agrees.
    const double k = (grams / result.finalMolarMass) / final.ratio();
    for (int row = 0; row < kSourceRows; ++row) {
        Formula& entry = model.source(row);
        if (entry.classify() < Free) continue;
        const double mass = entry.molarMass();
        result.rows.push_back({row, mass, (entry.ratio() * mass) * k});
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
