// quorvex-cli series: one recipe weighed out for every member of a
// composition series, e.g. Ba(1-x)Sr(x)TiO3 for x = 0 to 0.5.

#include <algorithm>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/json_text.h"
#include "cli/purity.h"
#include "cli/recipe_session.h"
#include "core/element_table.h"
#include "core/number_format.h"
#include "output/output_grams.h"
#include "plan/series.h"
#include "plan/series_output.h"

namespace qv::cli {
namespace {

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
    if (opt.format != "text" && opt.format != "csv" && opt.format != "json" && opt.format != "jsonl")
        return complain("--format must be text, csv or json, or jsonl for JSON Lines, not \"" + opt.format +
                        "\"");
    return true;
}

// NAME and its values from "NAME=FROM:TO:STEP".
bool readVary(const std::string& text, std::string& name, std::vector<double>& values) {
    const std::size_t equals = text.find('=');
    name = text.substr(0, std::min(equals, text.size()));
    if (equals == std::string::npos || !isSeriesVariableName(name))
        return complain(
            "--vary needs NAME=FROM:TO:STEP with NAME a letter or \"_\" followed by "
            "letters, digits or \"_\", not \"" +
            text + "\"");
    if (isSeriesFieldName(name))
        return complain("--vary: \"" + name + "\" names an output field; choose another name");
    SeriesRange range;
    std::string error;
    if (!parseSeriesRange(std::string_view(text).substr(equals + 1), range, error) ||
        !seriesValues(range, values, error))
        return complain("--vary " + name + ": " + error);
    return true;
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
    const bool gramsOk = gramCheck == GramCheck::Ok;
    if (opt.format == "csv") {
        out = seriesCsv(name, columns, samples);
    } else if (opt.format == "json") {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (const SeriesSample& s : samples)
            doc.push_back(seriesSampleJson(name, columns, s, grams, gramsOk));
        out = jsonText(doc);
    } else if (opt.format == "jsonl") {
        // JSON Lines: one compact document per sample, for scripts that stream.
        for (const SeriesSample& s : samples)
            out += jsonLine(seriesSampleJson(name, columns, s, grams, gramsOk));
    } else {
        out = seriesTable(name, session.model.sampleTag(), columns, samples,
                          gramsOk ? formatDecimal(grams, 6) : session.model.gramsText());
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return allOk ? kExitOk : kExitOutputDisabled;
}

}  // namespace qv::cli
