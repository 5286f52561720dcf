#include "plan/series_output.h"

#include <algorithm>

#include "core/number_format.h"

namespace qv {
namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::string seriesCsv(const std::string& name, const std::vector<SeriesColumn>& columns,
                      const std::vector<SeriesSample>& samples) {
    std::string out = csvField(name) + ",final_formula,status";
    for (const SeriesColumn& c : columns) out += ',' + csvField(c.formula);
    out += "\r\n";
    for (const SeriesSample& s : samples) {
        out += formatShortest(s.value) + ',' + csvField(s.formula) + ',' + csvField(s.status);
        for (std::size_t i = 0; i < columns.size(); ++i)
            out += ',' + (s.ok ? formatShortest(s.amounts[i].gramsCorrected) : std::string());
        out += "\r\n";
    }
    return out;
}

nlohmann::ordered_json seriesSampleJson(const std::string& name, const std::vector<SeriesColumn>& columns,
                                        const SeriesSample& s, double grams, bool gramsOk) {
    using Json = nlohmann::ordered_json;
    auto orNull = [](bool known, double value) { return known ? Json(value) : Json(nullptr); };
    Json sample;
    sample[name] = s.value;
    sample["final_formula"] = s.formula;
    sample["status"] = s.status;
    sample["grams"] = orNull(gramsOk, grams);
    sample["ratio"] = s.ratio;
    sample["molar_mass"] = orNull(s.molarMass.has_value(), s.molarMass.value_or(0.0));
    sample["rows"] = Json::array();
    // The correction fields, like the report's, only once some row has a correction.
    const bool corrected = std::any_of(columns.begin(), columns.end(), [](const SeriesColumn& c) {
        return c.purity < 100.0 || c.excess > 0.0;
    });
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const SeriesColumn& c = columns[i];
        Json row;
        row["row"] = c.row + 1;
        row["formula"] = c.formula;
        row["fixed"] = c.fixed;
        if (corrected) {
            row["purity_pct"] = c.purity;
            row["excess_pct"] = c.excess;
        }
        row["molar_mass"] = c.molarMass;
        row["ratio"] = orNull(s.ok, s.ok ? s.amounts[i].ratio : 0.0);
        row["grams"] = orNull(s.ok, s.ok ? s.amounts[i].grams : 0.0);
        if (corrected) row["grams_corrected"] = orNull(s.ok, s.ok ? s.amounts[i].gramsCorrected : 0.0);
        sample["rows"].push_back(std::move(row));
    }
    sample["balance_residual"] = s.ok ? Json(s.residual) : Json(nullptr);
    return sample;
}

// Grams with six decimals kept, so the points line up down a column.
std::string fixedGrams(double grams) {
    std::string text = formatDecimal(grams, 6);
    std::size_t point = text.find('.');
    if (point == std::string::npos) {
        point = text.size();
        text += '.';
    }
    text.resize(point + 7, '0');
    return text;
}

std::string seriesTable(const std::string& name, const std::string& tag,
                        const std::vector<SeriesColumn>& columns, const std::vector<SeriesSample>& samples,
                        const std::string& gramsText) {
    // Cells by line; numeric columns (the grams) are right-aligned.
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> header = {name, "Final compound"};
    std::vector<std::string> masses = {"", ""};
    for (const SeriesColumn& c : columns) {
        std::string head = c.formula;
        if (c.purity < 100.0) head += " " + formatDecimal(c.purity, 6) + "%";
        if (c.excess != 0.0) head += " +" + formatDecimal(c.excess, 6) + "%";
        header.push_back(head);
        masses.push_back("(" + formatDecimal(c.molarMass, 6) + ")");
    }
    header.push_back("Status");
    masses.push_back("");
    lines.push_back(header);
    lines.push_back(masses);
    for (const SeriesSample& s : samples) {
        std::vector<std::string> cells = {formatDecimal(s.value, 6), s.formula};
        for (std::size_t i = 0; i < columns.size(); ++i)
            cells.push_back(s.ok ? fixedGrams(s.amounts[i].gramsCorrected) : "");
        cells.push_back(s.status);
        lines.push_back(std::move(cells));
    }
    std::vector<std::size_t> widths(header.size(), 0);
    for (const auto& cells : lines)
        for (std::size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], cells[i].size());

    std::string out = "ID: " + tag + "\n";
    out += "Amount weighed (g) for " + gramsText + " grams of each final compound\n\n";
    std::size_t total = 0;
    for (std::size_t i = 0; i + 1 < widths.size(); ++i) total += widths[i] + 2;
    total += std::string_view("Status").size();
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string line;
        const auto& cells = lines[n];
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const bool right = i >= 2 && i + 1 < cells.size();
            const std::string pad(widths[i] - cells[i].size(), ' ');
            line += right ? pad + cells[i] : cells[i] + (i + 1 < cells.size() ? pad : "");
            if (i + 1 < cells.size()) line += "  ";
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + '\n';
        if (n == 1) out += std::string(total, '-') + '\n';
    }
    return out;
}

}  // namespace qv
