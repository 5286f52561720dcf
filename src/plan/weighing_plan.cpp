#include "plan/weighing_plan.h"

#include <algorithm>
#include <cmath>

#include "form/model.h"
#include "output/corrections.h"
#include "output/weighing.h"

namespace qv {

std::optional<WeighingPlan> makeWeighingPlan(Model& model, double grams, const Corrections& corrections) {
    const WeighingAmounts amounts = computeWeighingAmounts(model, grams);
    if (!amounts.ok) return std::nullopt;
    WeighingPlan plan;
    plan.finalFormula = model.finalCompound().text();
    plan.grams = grams;
    for (const WeighingAmount& w : amounts.rows) {
        const Formula& entry = model.source(w.row);
        PlanRow row{w.row, entry.text(), entry.composition(), w.molarMass, w.grams, {}, w.grams};
        if (const auto c = corrections.find(w.row); c != corrections.end()) {
            row.correction = c->second;
            row.planned = correctedGrams(w.grams, c->second);
        }
        plan.rows.push_back(std::move(row));
    }
    const ElementTable& table = model.elementTable();
    for (const auto& [element, count] : model.finalCompound().composition()) {
        if (table.included(element) && std::fabs(count) >= kZeroTolerance)
            plan.elements.push_back({element, table.symbol(element), count});
    }
    return plan;
}

int planElement(const WeighingPlan& plan, const std::string& symbol) {
    for (std::size_t i = 0; i < plan.elements.size(); ++i) {
        if (plan.elements[i].symbol == symbol) return static_cast<int>(i);
    }
    return -1;
}

WeighingSession::WeighingSession(WeighingPlan plan)
    : plan_(std::move(plan)), actual_(plan_.rows.size()), discarded_(plan_.rows.size(), 0.0) {}

bool WeighingSession::setActual(int i, double grams) {
    if (!std::isfinite(grams) || grams < 0) return false;
    actual_[i] = grams;
    return true;
}

bool WeighingSession::addTopUp(int i, double grams) {
    if (!std::isfinite(grams) || grams < 0) return false;
    return setActual(i, actual_[i].value_or(0.0) + grams);
}

void WeighingSession::clearActual(int i) { actual_[i].reset(); }

void WeighingSession::discard(int i) {
    discarded_[i] += actual_[i].value_or(0.0);
    actual_[i].reset();
}

double WeighingSession::factor() const {
    double f = 1.0;
    for (int i = 0; i < size(); ++i) {
        const double planned = plan_.rows[i].planned;
        if (actual_[i] && planned >= kZeroTolerance) f = std::max(f, *actual_[i] / planned);
    }
    return f;
}

double WeighingSession::toAdd(int i) const {
    const double left = target(i) - actual_[i].value_or(0.0);
    return std::fabs(left) < kZeroTolerance ? 0.0 : left;
}

bool WeighingSession::complete() const {
    for (int i = 0; i < size(); ++i) {
        if (!actual_[i] && plan_.rows[i].planned >= kZeroTolerance) return false;
    }
    return true;
}

std::vector<double> WeighingSession::actualGrams() const {
    std::vector<double> grams;
    for (const auto& a : actual_) grams.push_back(a.value_or(0.0));
    return grams;
}

double WeighingSession::actualSum() const {
    double sum = 0.0;
    for (const double g : actualGrams()) sum += g;
    return sum;
}

}  // namespace qv
