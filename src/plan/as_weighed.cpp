#include "plan/as_weighed.h"

#include <cmath>

#include "core/composition.h"
#include "core/number_format.h"
#include "plan/weighing_plan.h"

namespace qv {

std::optional<ElementCounts> weighedCounts(const WeighingPlan& plan, const std::vector<double>& grams,
                                           int per) {
    ElementCounts counts(plan.elements.size(), 0.0);
    for (std::size_t r = 0; r < plan.rows.size() && r < grams.size(); ++r) {
        const PlanRow& row = plan.rows[r];
        if (row.molarMass < kZeroTolerance) continue;
        const double moles = grams[r] * row.correction.purityPct / 100.0 / row.molarMass;
        for (std::size_t e = 0; e < counts.size(); ++e) {
            const auto amount = row.composition.find(plan.elements[e].index);
            if (amount != row.composition.end()) counts[e] += moles * amount->second;
        }
    }
    double want = 0.0;
    double have = 0.0;
    for (std::size_t e = 0; e < counts.size(); ++e) {
        if (per >= 0 && static_cast<int>(e) != per) continue;
        want += plan.elements[e].count;
        have += counts[e];
    }
    if (std::fabs(have) < 1e-300 || counts.empty()) return std::nullopt;
    for (double& c : counts) c *= want / have;
    return counts;
}

std::optional<ElementCounts> asWeighedCounts(const WeighingSession& session, int per) {
    if (!session.complete()) return std::nullopt;
    return weighedCounts(session.plan(), session.actualGrams(), per);
}

std::optional<ElementCounts> plannedCounts(const WeighingPlan& plan, int per) {
    std::vector<double> grams;
    for (const PlanRow& row : plan.rows) grams.push_back(row.planned);
    return weighedCounts(plan, grams, per);
}

std::vector<double> deviationPct(const ElementCounts& weighed, const ElementCounts& planned) {
    std::vector<double> pct(weighed.size(), 0.0);
    for (std::size_t e = 0; e < weighed.size() && e < planned.size(); ++e) {
        if (std::fabs(planned[e]) >= kZeroTolerance) pct[e] = 100.0 * (weighed[e] - planned[e]) / planned[e];
    }
    return pct;
}

std::string countsFormula(const WeighingPlan& plan, const ElementCounts& counts) {
    std::string text;
    for (std::size_t e = 0; e < counts.size() && e < plan.elements.size(); ++e) {
        text += plan.elements[e].symbol;
        const std::string count = formatDecimal(counts[e], 4);
        if (count != "1") text += count;
    }
    return text;
}

std::optional<double> expectedMassChangePct(double finalGrams, double targetSum) {
    if (std::fabs(targetSum) < kZeroTolerance) return std::nullopt;
    return 100.0 * (finalGrams - targetSum) / targetSum;
}

std::optional<double> expectedMassChangePct(const WeighingPlan& plan) {
    double sum = 0.0;
    for (const PlanRow& row : plan.rows) sum += row.planned;
    return expectedMassChangePct(plan.grams, sum);
}

Completeness firingCompleteness(std::optional<double> changePct, double beforeGrams, double afterGrams) {
    if (!changePct)
        return {std::nullopt, "The plan weighs nothing, so there is no mass change to compare with."};
    if (std::fabs(*changePct) < 1e-9)
        return {
            std::nullopt,
            "Complete reaction changes no mass here, so the mass after firing cannot tell how far it went."};
    if (!(beforeGrams > 0)) return {std::nullopt, "The mass before firing must be above zero."};
    return {100.0 * (beforeGrams - afterGrams) / (beforeGrams * -*changePct / 100.0), {}};
}

}  // namespace qv
