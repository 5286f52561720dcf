#pragma once
// The weighing plan at the bench: the grams of each used row to weigh with
// purity and excess applied, what was really weighed, and the rescaling that
// keeps the stoichiometry when a powder was overshot.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/composition.h"
#include "form/corrections.h"

namespace qv {

class Model;

struct PlanRow {
    int row = 0;  // source row, 0..29
    std::string formula;
    Composition composition;
    double molarMass = 0.0;
    double grams = 0.0;     // the report's amount, before corrections
    Correction correction;  // with the bottle and lot weighed from
    double planned = 0.0;   // corrected grams to weigh
};

// One element of the final compound that is on the Include list.
struct PlanElement {
    int index = 0;  // element index
    std::string symbol;
    double count = 0.0;  // in the final compound's formula
};

struct WeighingPlan {
    std::string finalFormula;
    double grams = 0.0;  // of the final compound, as asked for
    std::vector<PlanRow> rows;
    std::vector<PlanElement> elements;  // in element-table order
};

// The plan for `grams` of the model's final compound, the corrections keyed by
// source row. Nothing when the final compound has no molar mass or ratio.
std::optional<WeighingPlan> makeWeighingPlan(Model& model, double grams, const Corrections& corrections = {});

// Position in plan.elements of the symbol, or -1.
int planElement(const WeighingPlan& plan, const std::string& symbol);

// The plan being weighed. Rows are named by their position in plan.rows.
// The rescaling factor f = max(1, largest actual / planned over the weighed
// rows planned above zero): a row overshot raises every target to planned x f,
// a row weighed short only shows what is still to add.
class WeighingSession {
public:
    explicit WeighingSession(WeighingPlan plan);

    const WeighingPlan& plan() const { return plan_; }
    int size() const { return static_cast<int>(plan_.rows.size()); }

    // The total grams of the row on the balance so far. False, with nothing
    // changed, for a negative or non-finite value.
    bool setActual(int i, double grams);
    // Adds a top-up to what the row already holds (or starts it).
    bool addTopUp(int i, double grams);
    void clearActual(int i);
    // The row's powder is thrown away, to be weighed again.
    void discard(int i);

    const std::optional<double>& actual(int i) const { return actual_[i]; }
    // Grams of this row thrown away so far.
    double discarded(int i) const { return discarded_[i]; }
    double factor() const;
    double target(int i) const { return plan_.rows[i].planned * factor(); }
    // What is still to add: the target less what is weighed. The factor's
    // rounding leaves an overshot row a residue either side of its target,
    // which is nothing to add (not a "-0" on the sheet).
    double toAdd(int i) const;
    double finalGrams() const { return plan_.grams * factor(); }
    // True once every row planned above zero has an actual mass.
    bool complete() const;
    // The actual masses, zero for rows not weighed.
    std::vector<double> actualGrams() const;
    double actualSum() const;

private:
    WeighingPlan plan_;
    std::vector<std::optional<double>> actual_;
    std::vector<double> discarded_;
};

}  // namespace qv
