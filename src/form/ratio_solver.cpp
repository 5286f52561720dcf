#include "form/ratio_solver.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/formula_text.h"
#include "core/number_format.h"
#include "form/model.h"
#include "solver/linear_system.h"

namespace qv {

using Kind = SolverOutcome::Kind;

namespace {

// A decimal count running into a water group (CuSO4.5H2O) keeps its reading;
// the status box says how it was read and how to write the hydrate.
void appendDecimalTrapHints(const Model& m, std::string& status) {
    auto add = [&](const Formula& e) {
        if (e.edit().length() == 0 || !e.valid()) return;
        if (const std::optional<std::string> hint = decimalTrapHint(e.text())) {
            if (!status.empty()) status += '\n';
            status += *hint;
        }
    };
    add(m.finalCompound());
    for (int row = 0; row < kSourceRows; ++row) add(m.source(row));
}

}  // namespace

SolverOutcome RatioSolver::compute() const {
    const Model& m = model_;
    const ElementTable& table = m.elementTable();
    const Formula& final = m.finalCompound();
    SolverOutcome out;
    out.includeCount = m.includeList()->itemCount();
    out.freeCount = static_cast<int>(m.freeEntries().size());
    auto finish = [&](Kind kind, std::string_view status, bool output = false) {
        out.kind = kind;
        out.status = std::string(status);
        if (kind != Kind::RowsMismatch) appendDecimalTrapHints(m, out.status);
        out.outputEnabled = output;
        return out;
    };

    if (final.classify() < Free) return finish(Kind::BadInput, status::kBadFinal);
    if (std::fabs(final.ratio()) < kZeroTolerance) return finish(Kind::BadInput, status::kZeroFinalRatio);
    if (!m.invalidEntries().empty()) return finish(Kind::BadInput, status::kBadEntry);

    Composition& remainder = out.remainder.emplace();
    scaleComposition(remainder, final.composition(), final.ratio());
    for (const auto& [row, entry] : m.fixedEntries()) {
        (void)row;
        subtractScaled(remainder, entry->composition(), entry->ratio());
    }
    out.remainderText = compositionText(table, remainder);

    if (m.freeEntries().empty()) {
        if (m.fixedEntries().empty()) return finish(Kind::NoEntries, "");
        return finish(Kind::Manual, status::kManualMode, true);
    }

    Composition balance;
    projectOnIncluded(balance, m.elementUse(), table, remainder, 1.0);
    const int rows = static_cast<int>(balance.size());
    if (rows == 0) return finish(Kind::IncludeEmpty, status::kIncludeEmpty);
    if (rows != out.includeCount) return finish(Kind::RowsMismatch, status::kRowsMismatch);

    // Column by column: one column per free entry, the balance last.
    const int unknowns = out.freeCount;
    std::vector<double> matrix(static_cast<std::size_t>(rows) * (unknowns + 1), 0.0);
    std::vector<double> solution(static_cast<std::size_t>(unknowns), 0.0);
    auto storeColumn = [&](int column, const Composition& values) {
        std::size_t at = static_cast<std::size_t>(column) * rows;
        for (const auto& [element, amount] : values) {
            (void)element;
            matrix[at++] = amount;
        }
    };
    int column = 0;
    Composition projected;
    for (const auto& [row, entry] : m.freeEntries()) {
        (void)row;
        projectOnIncluded(projected, m.elementUse(), table, entry->composition(), 1.0);
        storeColumn(column++, projected);
    }
    storeColumn(unknowns, balance);

    bool ok = solve(rows, unknowns, matrix.data(), solution.data()) == 1;
    // Absurd amounts can overflow; a ratio of inf or nan is no answer.
    for (double v : solution)
        if (!std::isfinite(v)) ok = false;

    std::size_t j = 0;
    for (const auto& [row, entry] : m.freeEntries()) {
        (void)entry;
        double v = ok ? solution[j++] : 0.0;
        if (std::fabs(v) < kZeroTolerance) v = 0.0;
        out.ratios.push_back({row, v, ok ? formatDecimal(v, 6) : std::string()});
    }
    return ok ? finish(Kind::Solved, status::kSolved, true) : finish(Kind::NoSolution, "");
}

bool RatioSolver::apply(const SolverOutcome& out) {
    Model& m = model_;
    m.setCounts(out.includeCount, out.freeCount);
    if (!out.remainder) {  // bad input: the difference empties after the status
        m.setStatus(out.status);
        m.setDifferenceText("");
        m.setOutputEnabled(false);
        return false;
    }
    m.setDifferenceText(out.remainderText);
    if (out.kind == Kind::RowsMismatch) {
        m.fail(out.status, 1);
        m.setOutputEnabled(false);
        return false;
    }
    for (const FreeRatio& r : out.ratios) m.source(r.row).setRatio(r.ratio, r.text);
    if (out.outputEnabled) {
        m.setStatus(out.status);
        m.notify(FormChange::Ratio);
        m.setOutputEnabled(true);
        return true;
    }
    // Cleared ratios show before the status.
    if (out.kind == Kind::NoSolution) m.notify(FormChange::Ratio);
    m.setStatus(out.status);
    m.setOutputEnabled(false);
    return false;
}

}  // namespace qv
