// quorvex-cli series: one recipe weighed out for every member of a
// composition series, e.g. Ba(1-x)Sr(x)TiO3 for x = 0 to 0.5.

#include <algorithm>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/composition_series.h"
#include "cli/json_text.h"
#include "cli/purity.h"
#include "cli/recipe_session.h"
#include "core/element_table.h"
#include "core/number_format.h"
#include "output/output_grams.h"

namespace qv::cli {
namespace {

// The output's own field names; a variable must not shadow them.
constexpr std::string_view kFieldNames[] = {"final_formula", "status", "grams",           "ratio",
                                            "molar_mass",    "rows",   "balance_residual"};

struct SeriesOptions {
    std::string atoms;
    std::string recipe;
    std::string finalTemplate;
    std::string vary;
    std::string grams;
    bool gramsGiven = false;
    std::string format = "text";
    std::vector<Purity> purities;
};

bool complain(const std::string& text) {
    std::fprintf(stderr, "quorvex-cli series: %s\n", text.c_str());
    return false;
}

bool parseSeriesOptions(const Invocation& inv, SeriesOptions& opt) {
    opt.atoms = defaultElementFile(inv.program);
    const std::vector<std::string>& args = inv.args;
    bool filesOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!filesOnly && a == "--") {
            filesOnly = true;
            continue;
        }
        if (filesOnly || a.size() < 2 || a[0] != '-') {
            if (!opt.recipe.empty()) return complain("one recipe only, not also \"" + a + "\"");
            opt.recipe = a;
            continue;
        }
        std::string value;
        OptionMatch match = OptionMatch::No;
        for (const auto& [name, target] : {std::pair{"--final", &opt.finalTemplate},
                                           {"--vary", &opt.vary},
                                           {"--grams", &opt.grams},
                                           {"--format", &opt.format},
                                           {"--atoms", &opt.atoms},
                                           {"--purity", &value}}) {
            match = matchOption(args, i, name, *target);
            if (match == OptionMatch::Missing) return complain(std::string(name) + " needs a value");
            if (match != OptionMatch::Yes) continue;
            if (target == &opt.grams) opt.gramsGiven = true;
            if (target == &value) {
                std::string error;
                if (!parsePurity(value, opt.purities.emplace_back(), error)) return complain(error);
            }
            break;
        }
        if (match == OptionMatch::No) return complain("unknown option \"" + a + "\"");
    }
    if (opt.recipe.empty()) return complain("no recipe file given");
    if (opt.finalTemplate.empty()) return complain("--final TEMPLATE is missing");
    if (opt.vary.empty()) return complain("--vary NAME=FROM:TO:STEP is missing");
    if (opt.format != "text" && opt.format != "csv" && opt.format != "json")
        return complain("--format must be text, csv or json, not \"" + opt.format + "\"");
    return true;
}

bool isVariableName(std::string_view name) {
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (name.empty() || !letter(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

// NAME and its values from "NAME=FROM:TO:STEP".
bool readVary(const std::string& text, std::string& name, std::vector<double>& values) {
    const std::size_t equals = text.find('=');
    name = text.substr(0, std::min(equals, text.size()));
    if (equals == std::string::npos || !isVariableName(name))
        return complain(
            "--vary needs NAME=FROM:TO:STEP with NAME a letter or \"_\" followed by "
            "letters, digits or \"_\", not \"" +
            text + "\"");
    for (std::string_view field : kFieldNames)
        if (name == field)
            return complain("--vary: \"" + name + "\" names an output field; choose another name");
    SeriesRange range;
    std::string error;
    if (!parseSeriesRange(std::string_view(text).substr(equals + 1), range, error) ||
        !seriesValues(range, values, error))
        return complain("--vary " + name + ": " + error);
    return true;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string csvText(const std::string& name, const std::vector<SeriesColumn>& columns,
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

std::string jsonArrayText(const std::string& name, const std::vector<SeriesColumn>& columns,
                          const std::vector<SeriesSample>& samples, double grams, bool gramsOk) {
    using Json = nlohmann::ordered_json;
    auto orNull = [](bool known, double value) { return known ? Json(value) : Json(nullptr); };
    Json doc = Json::array();
    for (const SeriesSample& s : samples) {
        Json sample;
        sample[name] = s.value;
        sample["final_formula"] = s.formula;
        sample["status"] = s.status;
        sample["grams"] = orNull(gramsOk, grams);
        sample["ratio"] = s.ratio;
        sample["molar_mass"] = orNull(s.molarMass.has_value(), s.molarMass.value_or(0.0));
        sample["rows"] = Json::array();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const SeriesColumn& c = columns[i];
            Json row;
            row["row"] = c.row + 1;
            row["formula"] = c.formula;
            row["fixed"] = c.fixed;
            row["purity"] = c.purity;
            row["molar_mass"] = c.molarMass;
            row["ratio"] = orNull(s.ok, s.ok ? s.amounts[i].ratio : 0.0);
            row["grams"] = orNull(s.ok, s.ok ? s.amounts[i].grams : 0.0);
            row["grams_corrected"] = orNull(s.ok, s.ok ? s.amounts[i].gramsCorrected : 0.0);
            sample["rows"].push_back(std::move(row));
        }
        sample["balance_residual"] = s.ok ? Json(s.residual) : Json(nullptr);
        doc.push_back(std::move(sample));
    }
    return jsonText(doc);
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

std::string tableText(const std::string& name, const std::string& tag,
                      const std::vector<SeriesColumn>& columns, const std::vector<SeriesSample>& samples,
                      const std::string& gramsText) {
    // Cells by line; numeric columns (the grams) are right-aligned.
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> header = {name, "Final compound"};
    std::vector<std::string> masses = {"", ""};
    for (const SeriesColumn& c : columns) {
        header.push_back(c.purity < 100.0 ? c.formula + " " + formatDecimal(c.purity, 6) + "%" : c.formula);
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

}  // namespace

int runSeries(const Invocation& inv) {
    SeriesOptions opt;
    std::string name;
    std::vector<double> values;
    CountTemplate counts;
    std::string error;
    if (!parseSeriesOptions(inv, opt) || !readVary(opt.vary, name, values)) return kExitUsage;
    if (!counts.compile(opt.finalTemplate, name, error)) {
        complain("--final: " + error);
        return kExitUsage;
    }
    double grams = 0.0;
    if (opt.gramsGiven) {
        const GramCheck check = readOutputGrams(opt.grams, grams);
        if (check != GramCheck::Ok) {
            complain("--grams " + opt.grams + ": " + std::string(gramCheckMessage(check)));
            return kExitUsage;
        }
    }

    ElementTable table;
    if (!loadElements(table, opt.atoms)) return kExitNoElements;
    RecipeSession session(table, std::string());
    if (session.load(opt.recipe) != RecipeResult::Done) return kExitLoadFailed;
    std::map<int, double> purity;
    if (!purityByRow(session.model, opt.purities, purity, error)) {
        complain(error);
        return kExitUsage;
    }
    GramCheck gramCheck = GramCheck::Ok;
    if (!opt.gramsGiven) gramCheck = readOutputGrams(session.model.gramsText(), grams);
    const std::string_view gramsRefused = gramCheckMessage(gramCheck);

    const std::vector<SeriesColumn> columns = seriesColumns(session.model, purity);
    std::vector<SeriesSample> samples;
    samples.reserve(values.size());
    bool allOk = true;
    for (double value : values) {
        samples.push_back(
            runSample(session.model, columns, value, counts.expand(value), grams, gramsRefused));
        allOk = allOk && samples.back().ok;
    }
    session.flushMessages();

    std::string out;
    if (opt.format == "csv")
        out = csvText(name, columns, samples);
    else if (opt.format == "json")
        out = jsonArrayText(name, columns, samples, grams, gramCheck == GramCheck::Ok);
    else
        out = tableText(name, session.model.sampleTag(), columns, samples,
                        gramCheck == GramCheck::Ok ? formatDecimal(grams, 6) : session.model.gramsText());
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return allOk ? kExitOk : kExitOutputDisabled;
}

}  // namespace qv::cli
