#pragma once
// What to weigh: the grams of each source material for a mass of the final
// compound, and what the weighed mix holds beyond the final compound.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Model;

struct WeighingAmount {
    int row = 0;             // source row, 0..29
    double molarMass = 0.0;  // M(i), also stored in the entry
    double grams = 0.0;      // w(i)
};

struct WeighingAmounts {
    // False when the final compound's molar mass or ratio is zero: no amount
    // can be derived from it, so `rows` is empty rather than full of inf/nan.
    bool ok = false;
    std::string refusal;  // why not, naming the row where a result is not finite
    double finalMolarMass = 0.0;
    std::vector<WeighingAmount> rows;  // the Free and Fixed rows, in row order
};

inline constexpr std::string_view kZeroFinalRatioText = "Final Product Ratio is zero.";
inline constexpr std::string_view kZeroFinalMassText = "The final compound has no molar mass to weigh by.";

// Grams of each Free or Fixed source entry for `grams` of the final compound.
// Refused (ok false, no rows) when any molar mass, amount or share of the
// balance residual is not finite.
// Refreshes the molar mass stored in the final compound and in every listed entry.
WeighingAmounts computeWeighingAmounts(Model& model, double grams);

// The mix minus the final compound, per unit of final ratio, as a composition
// text: empty when everything balances, kZeroFinalRatioText when the final
// ratio is zero. Every element counts, included or not.
std::string balanceResidual(Model& model);

}  // namespace qv
