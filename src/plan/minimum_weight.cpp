#include "plan/minimum_weight.h"

#include <algorithm>
#include <cmath>

#include "core/composition.h"
#include "core/number_format.h"
#include "plan/weighing_plan.h"

namespace qv {

namespace {

bool positive(double v) { return std::isfinite(v) && v > 0; }

// Grams in a unit a chemist reads at a glance: mg below one gram.
std::string massText(double grams) {
    if (std::fabs(grams) < 1.0) return formatDecimal(grams * 1000.0, 2) + " mg";
    return formatDecimal(grams, 4) + " g";
}

}  // namespace

std::string checkBalanceRating(const BalanceRating& balance) {
    if (!positive(balance.readability))
        return "readability " + formatShortest(balance.readability) + " g: it must be above zero";
    if (balance.repeatability && !(std::isfinite(*balance.repeatability) && *balance.repeatability >= 0))
        return "repeatability " + formatShortest(*balance.repeatability) + " g: it must not be negative";
    if (!positive(balance.tolerancePct))
        return "tolerance " + formatShortest(balance.tolerancePct) + " %: it must be above zero";
    return {};
}

double minimumWeight(const BalanceRating& balance) {
    const double floor = 0.41 * balance.readability;
    const double s =
        balance.repeatability && *balance.repeatability >= floor ? *balance.repeatability : floor;
    return 2.0 * s / (balance.tolerancePct / 100.0);
}

bool belowMinimumWeight(double grams, double minWeight) {
    return grams >= kZeroTolerance && grams < minWeight;
}

MinimumWeightCheck checkMinimumWeight(const WeighingPlan& plan, const BalanceRating& balance) {
    MinimumWeightCheck check;
    check.minWeight = minimumWeight(balance);
    double scale = 0.0;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const double planned = plan.rows[i].planned;
        if (planned < kZeroTolerance) continue;
        scale = std::max(scale, check.minWeight / planned);
        if (planned < check.minWeight) check.below.push_back(static_cast<int>(i));
    }
    check.minBatch = std::fabs(plan.grams) * scale;
    return check;
}

std::string minimumWeightNotice(const WeighingPlan& plan, const MinimumWeightCheck& check) {
    if (check.below.empty()) return {};
    std::string text;
    for (const int i : check.below) {
        const PlanRow& row = plan.rows[i];
        text += "Row " + std::to_string(row.row + 1) + " (" + row.formula + "): " + massText(row.planned) +
                " is below the balance's minimum weight of " + massText(check.minWeight) + ".\n";
    }
    text += "Every row reaches it from " + formatDecimal(std::ceil(check.minBatch * 1e4) / 1e4, 4) +
            " g of " + plan.finalFormula +
            ": weigh a larger batch, or the small amounts from a diluted premix.";
    return text;
}

}  // namespace qv
