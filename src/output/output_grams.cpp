#include "output/output_grams.h"

#include <cmath>

#include "core/composition.h"
#include "core/number_scan.h"

namespace qv {

GramCheck readOutputGrams(std::string_view text, double& grams) {
    grams = 0.0;
    double value = 0.0;
    // An overflowing text would otherwise give a report of inf and nan amounts.
    if (scanDecimal(text, 0, value) == 0 || !std::isfinite(value)) return GramCheck::NotANumber;
    if (std::fabs(value) < kZeroTolerance) return GramCheck::Zero;
    grams = value;
    return GramCheck::Ok;
}

std::string_view gramCheckMessage(GramCheck check) {
    switch (check) {
    case GramCheck::NotANumber: return kGramNotANumberText;
    case GramCheck::Zero: return kGramZeroText;
    case GramCheck::Ok: break;
    }
    return {};
}

}  // namespace qv
