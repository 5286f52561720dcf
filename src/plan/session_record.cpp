#include "plan/session_record.h"

#include "core/number_format.h"
#include "plan/weighing_plan.h"

namespace qv {

std::string countsJson(const WeighingPlan& plan, const ElementCounts& counts) {
    std::string text = "{";
    for (std::size_t e = 0; e < counts.size() && e < plan.elements.size(); ++e)
        text += (e ? ",\"" : "\"") + plan.elements[e].symbol + "\":" + formatShortest(counts[e]);
    return text + "}";
}

store::Session sessionRecord(const WeighingSession& session, const std::string& recipeText,
                             const std::string& sampleTag, int per) {
    const WeighingPlan& plan = session.plan();
    store::Session record;
    record.recipe = recipeText;
    record.sampleTag = sampleTag;
    record.finalFormula = plan.finalFormula;
    record.finalGrams = session.finalGrams();
    record.factor = session.factor();
    for (int i = 0; i < session.size(); ++i) {
        const PlanRow& row = plan.rows[i];
        record.rows.push_back({row.row + 1, row.formula, row.planned, session.actual(i),
                               row.correction.bottleId, row.correction.lot});
    }
    if (const auto counts = asWeighedCounts(session, per)) record.asWeighed = countsJson(plan, *counts);
    return record;
}

std::optional<double> expectedMassChangePct(const store::Session& session) {
    double targets = 0.0;
    for (const store::SessionRow& row : session.rows) targets += row.planned * session.factor;
    return expectedMassChangePct(session.finalGrams, targets);
}

Completeness applyFiredMass(store::Session& session, double firedGrams, std::optional<double> beforeGrams) {
    if (!beforeGrams) {
        double sum = 0.0;
        for (const store::SessionRow& row : session.rows) sum += row.actual.value_or(0.0);
        beforeGrams = sum;
    }
    const Completeness c = firingCompleteness(expectedMassChangePct(session), *beforeGrams, firedGrams);
    session.firedGrams = firedGrams;
    session.beforeGrams = beforeGrams;
    session.completenessPct = c.pct;
    return c;
}

}  // namespace qv
