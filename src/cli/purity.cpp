#include "cli/purity.h"

#include <cmath>

#include "core/number_scan.h"
#include "form/model.h"

namespace qv::cli {

bool parsePurity(std::string_view text, Purity& purity, std::string& error) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == text.size()) {
        error = "--purity needs FORMULA=PCT, not \"" + std::string(text) + "\"";
        return false;
    }
    purity.formula = std::string(text.substr(0, equals));
    const std::string_view number = text.substr(equals + 1);
    double percent = 0.0;
    if (scanDecimal(number, 0, percent) != number.size() || !(percent > 0.0 && percent <= 100.0)) {
        error = "--purity " + purity.formula +
                ": the percentage must be a number above 0 and at most "
                "100, not \"" +
                std::string(number) + "\"";
        return false;
    }
    purity.percent = percent;
    return true;
}

bool purityByRow(const Model& model, const std::vector<Purity>& purities, std::map<int, double>& byRow,
                 std::string& error) {
    byRow.clear();
    for (auto it = purities.begin(); it != purities.end(); ++it) {
        const Purity& p = *it;
        for (auto earlier = purities.begin(); earlier != it; ++earlier)
            if (earlier->formula == p.formula) {
                error = "--purity " + p.formula + ": given twice";
                return false;
            }
        bool found = false;
        for (int row = 0; row < kSourceRows; ++row) {
            const Formula& entry = model.source(row);
            if (entry.classify() < Free || entry.text() != p.formula) continue;
            byRow[row] = p.percent;
            found = true;
        }
        if (!found) {
            error = "--purity " + p.formula + ": no source row of the recipe holds this formula";
            return false;
        }
    }
    return true;
}

}  // namespace qv::cli
