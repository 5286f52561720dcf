#include "form/ratio_solver.h"

#include <cmath>
#include <string>
#include <vector>

#include "form/form_view.h"
#include "form/model.h"
#include "core/number_format.h"
#include "solver/linear_system.h"

namespace qv {

bool RatioSolver::run() {
    Model& m = model_;
    if (m.form == nullptr || m.includeList == nullptr) return false;
    FormView& form = *m.form;
    const ElementTable& table = m.elementTable;
    Formula& final = m.finalCompound;

    const int includeCount = m.includeList->itemCount();
    form.setControlText(ControlId::IncludeCount, std::to_string(includeCount));
    form.setControlText(ControlId::FreeCount, std::to_string(m.freeEntries.size()));

    auto inputError = [&](std::string_view message) {
        form.setControlText(ControlId::Status, message);
        form.setControlText(ControlId::Difference, "");
        form.enableOutput(false);
        return false;
    };
    auto failure = [&](std::string_view message) {
        form.setControlText(ControlId::Status, message);
        form.enableOutput(false);
        return false;
    };
    auto success = [&]() {
        form.repaintSourceList();
        form.enableOutput(true);
        form.refreshRatioEditor();
        return true;
    };

    if (final.classify() < 1) return inputError(status::kBadFinal);
    if (std::fabs(final.ratio) < kZeroTolerance) return inputError(status::kZeroFinalRatio);
    if (!m.invalidEntries.empty()) return inputError(status::kBadEntry);

    scaleComposition(m.remainder, final.composition, final.ratio);
    for (const auto& [row, entry] : m.fixedEntries) {
        (void)row;
        subtractScaled(m.remainder, entry->composition, entry->ratio);
    }
    form.setControlText(ControlId::Difference, compositionText(table, m.remainder));

    if (m.freeEntries.empty()) {
        if (m.fixedEntries.empty()) return failure("");
        form.setControlText(ControlId::Status, status::kManualMode);
        return success();
    }

    Composition balance;
    projectOnIncluded(balance, m.elementUse, table, m.remainder, 1.0);
    const int rows = static_cast<int>(balance.size());
    if (rows == 0) return failure(status::kIncludeEmpty);
    if (rows != includeCount) {
        form.fatal(status::kRowsMismatch, 1);
        form.enableOutput(false);
        return false;
    }

    // Column by column: one column per free entry, the balance last.
    const int unknowns = static_cast<int>(m.freeEntries.size());
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
    for (const auto& [row, entry] : m.freeEntries) {
        (void)row;
        projectOnIncluded(projected, m.elementUse, table, entry->composition, 1.0);
        storeColumn(column++, projected);
    }
    storeColumn(unknowns, balance);

    bool ok = solve(rows, unknowns, matrix.data(), solution.data()) == 1;
    // Absurd amounts can overflow; a ratio of inf or nan is no answer.
    for (double v : solution)
        if (!std::isfinite(v)) ok = false;

    int j = 0;
    for (const auto& [row, entry] : m.freeEntries) {
        (void)row;
        if (ok) {
            double v = solution[static_cast<std::size_t>(j)];
            if (std::fabs(v) < kZeroTolerance) v = 0.0;
            entry->ratio = v;
            entry->ratioText = formatDecimal(v, 6);
        } else {
            entry->ratio = 0.0;
            entry->ratioText.clear();
        }
        ++j;
    }

    if (ok) {
        form.setControlText(ControlId::Status, status::kSolved);
        return success();
    }
    form.repaintSourceList();
    form.refreshRatioEditor();
    return failure("");
}

}  // namespace qv
