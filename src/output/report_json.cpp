#include "output/report_json.h"

#include "form/model.h"
#include "output/weighing.h"

namespace qv {

std::optional<nlohmann::ordered_json> weighingReportJson(Model& model, const ReportJsonInput& in) {
    const WeighingAmounts amounts = computeWeighingAmounts(model, in.grams);
    if (!amounts.ok) return std::nullopt;
    const bool corrected = in.corrections && anyCorrection(*in.corrections);
    nlohmann::ordered_json doc;
    doc["file"] = in.file;
    doc["sample_tag"] = in.sampleTag;
    doc["final_formula"] = model.finalCompound().text();
    doc["grams"] = in.grams;
    doc["ratio"] = model.finalCompound().ratio();
    doc["molar_mass"] = amounts.finalMolarMass;
    doc["status"] = in.status;
    doc["rows"] = nlohmann::ordered_json::array();
    for (const WeighingAmount& w : amounts.rows) {
        const Formula& entry = model.source(w.row);
        nlohmann::ordered_json row;
        row["row"] = w.row + 1;
        row["formula"] = entry.text();
        row["fixed"] = entry.classify() == Fixed;
        row["ratio"] = entry.ratio();
        row["molar_mass"] = w.molarMass;
        row["grams"] = w.grams;
        if (corrected) {
            const Correction c = correctionOf(in.corrections, w.row);
            row["purity_pct"] = c.purityPct;
            row["excess_pct"] = c.excessPct;
            row["grams_corrected"] = correctedGrams(w.grams, c);
        }
        doc["rows"].push_back(std::move(row));
    }
    doc["balance_residual"] =
        in.showDifference ? nlohmann::ordered_json(balanceResidual(model)) : nlohmann::ordered_json(nullptr);
    return doc;
}

nlohmann::ordered_json noReportJson(std::string_view file, std::string_view status) {
    nlohmann::ordered_json doc;
    doc["file"] = std::string(file);
    doc["status"] = std::string(status);
    doc["rows"] = nlohmann::ordered_json::array();
    return doc;
}

}  // namespace qv
