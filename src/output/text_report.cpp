#include "output/text_report.h"

#include "core/number_format.h"
#include "form/model.h"
#include "output/weighing.h"

namespace qv {

std::optional<std::string> weighingReportText(Model& model, std::string_view sampleTag, double grams,
                                              bool showDifference) {
    const WeighingAmounts amounts = computeWeighingAmounts(model, grams);
    if (!amounts.ok) return std::nullopt;

    const std::string equals(kReportRuleWidth, '=');
    const std::string hyphens(kReportRuleWidth, '-');
    std::string out;
    out += "ID: ";
    out += sampleTag;
    out += '\n';
    out += model.finalCompound().text();
    out += "  (";
    out += formatDecimal(grams, 6);
    out += " grams)";
    if (showDifference) {
        const std::string residual = balanceResidual(model);
        out += "  + ";
        out += residual.empty() ? std::string("None") : residual;
    }
    out += '\n';
    out += equals + '\n';
    out += kReportHeader;
    out += '\n';
    out += hyphens + '\n';
    for (const WeighingAmount& row : amounts.rows) {
        std::string line = model.source(row.row).text();
        line += "  (";
        line += formatDecimal(row.molarMass, 6);
        line += ')';
        // Long first columns stay whole; the amount then simply starts later.
        if (line.size() < static_cast<std::size_t>(kReportFirstColumnWidth))
            line.resize(kReportFirstColumnWidth, ' ');
        line += ' ';
        line += formatDecimal(row.grams, 6);
        out += line + '\n';
    }
    out += hyphens + '\n';
    out += "\n\n";
    return out;
}

}  // namespace qv
