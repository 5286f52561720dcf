#pragma once
// What the weighed powders make, and whether firing completed the reaction.

#include <optional>
#include <string>
#include <vector>

namespace qv {

struct WeighingPlan;
class WeighingSession;

// Counts of the final compound's included elements (plan.elements' order).
using ElementCounts = std::vector<double>;

// The counts that these grams of the plan's rows give: moles of each row =
// grams x purity / 100 / molar mass, summed per element, scaled so that the
// counts add up to the final compound's, or with `per` (a position in
// plan.elements) so that this element's count is the final compound's.
// Nothing when the grams hold none of the elements to scale by.
std::optional<ElementCounts> weighedCounts(const WeighingPlan& plan, const std::vector<double>& grams,
                                           int per = -1);

// The composition the session's actual masses give; nothing until every row
// planned above zero is weighed.
std::optional<ElementCounts> asWeighedCounts(const WeighingSession& session, int per = -1);
// The composition the plan's own targets give, counted the same way, so that
// a deliberate excess is not read as an error.
std::optional<ElementCounts> plannedCounts(const WeighingPlan& plan, int per = -1);

// 100 x (weighed - planned) / planned per element (zero where nothing was planned).
std::vector<double> deviationPct(const ElementCounts& weighed, const ElementCounts& planned);

// The counts as a formula text, "Ba1.0123Ti0.9877" (4 decimals, a count of 1 left out).
std::string countsFormula(const WeighingPlan& plan, const ElementCounts& counts);

// The mass change that complete reaction gives, in per cent of what goes into
// the crucible: 100 x (final grams - sum of the targets) / sum of the targets,
// negative for a loss. Nothing when the targets add up to zero.
std::optional<double> expectedMassChangePct(double finalGrams, double targetSum);
std::optional<double> expectedMassChangePct(const WeighingPlan& plan);

struct Completeness {
    std::optional<double> pct;  // 100 x (before - after) / (before x -change / 100)
    std::string message;        // why there is none
};

Completeness firingCompleteness(std::optional<double> changePct, double beforeGrams, double afterGrams);

}  // namespace qv
