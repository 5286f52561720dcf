#include "output/text_report.h"

#include <algorithm>

#include "core/number_format.h"
#include "form/model.h"
#include "output/weighing.h"

namespace qv {

std::string correctionColumns(std::size_t lineLength, double grams, const Correction& c) {
    std::string out;
    // Each value starts one place right of its header word, as the amount
    // does; a value that runs long pushes the next one along by one blank.
    std::size_t headerAt = kReportHeader.size();
    const auto column = [&](std::string_view title, const std::string& value) {
        headerAt += 2;
        const std::size_t at = lineLength + out.size();
        if (at < headerAt) out.append(headerAt - at, ' ');
        out += ' ';
        out += value;
        headerAt += title.size();
    };
    column("Purity(%)", formatDecimal(c.purityPct, 6));
    column("Excess(%)", formatDecimal(c.excessPct, 6));
    column("To Weigh(g)", formatDecimal(correctedGrams(grams, c), 6));
    return out;
}

std::optional<std::string> weighingReportText(Model& model, std::string_view sampleTag, double grams,
                                              bool showDifference, const Corrections* corrections) {
    const WeighingAmounts amounts = computeWeighingAmounts(model, grams);
    if (!amounts.ok) return std::nullopt;

    const bool corrected = corrections && anyCorrection(*corrections);
    const std::size_t width = kReportRuleWidth + (corrected ? kReportCorrectionHeader.size() : 0);
    const std::string equals(width, '=');
    const std::string hyphens(width, '-');
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
    if (corrected) out += kReportCorrectionHeader;
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
        if (corrected) line += correctionColumns(line.size(), row.grams, correctionOf(corrections, row.row));
        out += line + '\n';
    }
    out += hyphens + '\n';
    out += "\n\n";
    return out;
}

}  // namespace qv
