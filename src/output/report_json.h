#pragma once
// The weighing report as a JSON document, for `report --json` and the window's
// export. Rows carry purity_pct, excess_pct and grams_corrected, every one of
// them, as soon as some row has a correction, and none of them otherwise.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "output/corrections.h"

namespace qv {

class Model;

struct ReportJsonInput {
    std::string file;  // the recipe's path
    std::string sampleTag;
    std::string status;  // the status box's text
    double grams = 0.0;
    bool showDifference = true;  // balance_residual, else null
    const Corrections* corrections = nullptr;
};

// Nothing when no amount can be derived (see computeWeighingAmounts).
std::optional<nlohmann::ordered_json> weighingReportJson(Model& model, const ReportJsonInput& in);

// A recipe that gave no report: its file, status and no rows.
nlohmann::ordered_json noReportJson(std::string_view file, std::string_view status);

}  // namespace qv
