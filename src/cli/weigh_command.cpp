// quorvex-cli weigh: the plan rescaled to what was really weighed, the
// balance's minimum weight, the composition as weighed, and the record.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/correction_options.h"
#include "cli/json_text.h"
#include "cli/recipe_session.h"
#include "core/element_table.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "output/corrections.h"
#include "output/output_grams.h"
#include "output/weighing.h"
#include "plan/as_weighed.h"
#include "plan/minimum_weight.h"
#include "plan/session_record.h"
#include "plan/weighing_plan.h"
#include "store/lab_database.h"

namespace qv::cli {
namespace {

struct Pair {
    std::string key;  // a formula or a row number
    double value = 0;
};

struct WeighOptions {
    std::string atoms;
    std::string recipe;
    std::string grams;
    bool gramsGiven = false;
    std::vector<Pair> actual;
    CorrectionOptions corrections;
    std::string db;
    bool record = true;
    bool json = false;
    BalanceRating balance;
    std::string per;
};

bool usage(const std::string& message) {
    std::fprintf(stderr, "quorvex-cli weigh: %s\n", message.c_str());
    return false;
}

bool readNumber(const std::string& text, double& value) {
    return !text.empty() && scanDecimal(text, 0, value) == text.size() && std::isfinite(value);
}

bool readPair(const std::string& option, const std::string& text, Pair& pair) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0 || !readNumber(text.substr(equals + 1), pair.value))
        return usage(option + " needs FORMULA=NUMBER, not \"" + text + "\"");
    pair.key = text.substr(0, equals);
    return true;
}

bool parseWeighOptions(const Invocation& inv, WeighOptions& opt) {
    opt.atoms = defaultElementFile(inv.program);
    std::vector<std::string> args = inv.args;
    if (!takeAtomsOption(args, opt.atoms)) return false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        const auto option = [&](std::string_view name) {
            const OptionMatch m = matchOption(args, i, name, v);
            if (m == OptionMatch::Missing) throw std::string(name) + " needs a value";
            return m == OptionMatch::Yes;
        };
        const auto number = [&](const char* name, double& out) {
            if (!readNumber(v, out)) throw std::string(name) + " needs a number, not \"" + v + "\"";
        };
        try {
            if (option("--actual")) {
                if (!readPair("--actual", v, opt.actual.emplace_back())) return false;
            } else if (const int taken = takeCorrectionOption(args, i, opt.corrections, "weigh");
                       taken != 0) {
                if (taken != 1) return false;
            } else if (option("--grams")) {
                opt.grams = v;
                opt.gramsGiven = true;
            } else if (option("--db")) {
                opt.db = v;
            } else if (option("--format")) {
                if (v != "text" && v != "json") return usage("--format is text or json, not \"" + v + "\"");
                opt.json = v == "json";
            } else if (option("--readability")) {
                number("--readability", opt.balance.readability);
            } else if (option("--repeatability")) {
                number("--repeatability", opt.balance.repeatability.emplace());
            } else if (option("--tolerance")) {
                number("--tolerance", opt.balance.tolerancePct);
            } else if (option("--per")) {
                opt.per = v;
            } else if (a == "--no-record") {
                opt.record = false;
            } else if (a.size() > 1 && a[0] == '-') {
                return usage("unknown option \"" + a + "\"");
            } else if (opt.recipe.empty()) {
                opt.recipe = a;
            } else {
                return usage("one recipe at a time, not also \"" + a + "\"");
            }
        } catch (const std::string& message) {
            return usage(message);
        }
    }
    if (opt.recipe.empty()) return usage("no recipe file given");
    if (const std::string bad = checkBalanceRating(opt.balance); !bad.empty()) return usage(bad);
    return true;
}

// The position in plan.rows that KEY names: a row number, or a formula on
// exactly one used row. -1 after a message.
int planRowOf(const WeighingPlan& plan, const std::string& option, const std::string& key) {
    long number = 0;
    if (scanLong(key, 0, number) == key.size()) {
        for (std::size_t i = 0; i < plan.rows.size(); ++i)
            if (plan.rows[i].row + 1 == number) return static_cast<int>(i);
        usage(option + " " + key + ": row " + key + " is not a used row of the recipe");
        return -1;
    }
    int found = -1;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        if (plan.rows[i].formula != key) continue;
        if (found >= 0) {
            usage(option + " " + key + ": the formula is on rows " +
                  std::to_string(plan.rows[found].row + 1) + " and " + std::to_string(plan.rows[i].row + 1) +
                  "; give the row number (" + option + " ROW=...)");
            return -1;
        }
        found = static_cast<int>(i);
    }
    if (found < 0) usage(option + " " + key + ": no used row of the recipe holds this formula");
    return found;
}

nlohmann::ordered_json countsObject(const WeighingPlan& plan, const std::optional<std::vector<double>>& v) {
    if (!v) return nullptr;
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (std::size_t e = 0; e < v->size(); ++e) object[plan.elements[e].symbol] = (*v)[e];
    return object;
}

std::string grams(double g) { return formatDecimal(g); }

void printText(const WeighingSession& s, const std::string& tag, const MinimumWeightCheck& check,
               const std::optional<double>& change, const std::optional<ElementCounts>& counts,
               const std::vector<double>& deviation, const std::optional<long long>& id) {
    const WeighingPlan& plan = s.plan();
    std::string out = "ID: " + tag + "\n" + plan.finalFormula + "  (" + grams(s.finalGrams()) +
                      " grams, factor " + grams(s.factor()) + ")\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-4s %-16s %12s %12s %12s %12s\n", "Row", "Formula", "Planned",
                  "Actual", "Target", "To add");
    out += line;
    for (int i = 0; i < s.size(); ++i) {
        const PlanRow& row = plan.rows[i];
        const bool below = std::count(check.below.begin(), check.below.end(), i) > 0;
        std::snprintf(line, sizeof line, "%-4d %-16s %12s %12s %12s %12s%s\n", row.row + 1,
                      row.formula.c_str(), grams(row.planned).c_str(),
                      s.actual(i) ? grams(*s.actual(i)).c_str() : "-", grams(s.target(i)).c_str(),
                      grams(s.toAdd(i)).c_str(), below ? "  below min weight" : "");
        out += line;
    }
    out +=
        "Minimum weight: " + grams(check.minWeight) + " g; minimum batch: " + grams(check.minBatch) + " g\n";
    if (const std::string notice = minimumWeightNotice(plan, check); !notice.empty()) out += notice + "\n";
    out += "Mass change on firing: " + (change ? formatDecimal(*change, 2) + " %" : std::string("-")) + "\n";
    if (counts) {
        out += "As weighed: " + countsFormula(plan, *counts) + " (";
        for (std::size_t e = 0; e < deviation.size(); ++e)
            out += (e ? ", " : "") + plan.elements[e].symbol + " " + (deviation[e] >= 0 ? "+" : "") +
                   formatDecimal(deviation[e], 3) + " %";
        out += ")\n";
    }
    if (id) out += "Recorded as session " + std::to_string(*id) + ".\n";
    std::fputs(out.c_str(), stdout);
}

}  // namespace

int runWeigh(const Invocation& inv) {
    WeighOptions opt;
    if (!parseWeighOptions(inv, opt)) {
        std::fputc('\n', stderr);
        printUsage(true);
        return kExitUsage;
    }
    ElementTable table;
    if (!loadElements(table, opt.atoms)) return kExitNoElements;
    RecipeSession recipe(table, std::string());
    if (recipe.load(opt.recipe) != RecipeResult::Done) return kExitLoadFailed;
    const std::string status = recipe.model.status();
    if (!status.empty()) recipe.say(status);
    if (!recipe.model.outputEnabled()) return kExitOutputDisabled;
    double finalGrams = 0.0;
    const GramCheck gramCheck =
        readOutputGrams(opt.gramsGiven ? opt.grams : recipe.model.gramsText(), finalGrams);
    if (gramCheck != GramCheck::Ok) {
        recipe.say(std::string(gramCheckMessage(gramCheck)));
        return kExitNoReport;
    }
    Corrections byRow;
    if (const int code = gatherCorrections(recipe, opt.recipe, opt.corrections, byRow); code != kExitOk)
        return code;
    std::optional<WeighingPlan> plan = makeWeighingPlan(recipe.model, finalGrams, byRow);
    if (!plan) {
        recipe.say(std::string(kZeroFinalMassText));
        return kExitNoReport;
    }
    const int per = opt.per.empty() ? -1 : planElement(*plan, opt.per);
    if (!opt.per.empty() && per < 0) {
        usage("--per " + opt.per + ": not one of the final compound's elements on the Include list");
        return kExitUsage;
    }
    WeighingSession session(*plan);
    std::map<int, double> actual;  // the last value for a row wins
    for (const Pair& p : opt.actual) {
        const int i = planRowOf(*plan, "--actual", p.key);
        if (i < 0) return kExitUsage;
        if (p.value < 0) {
            usage("--actual " + p.key + "=" + formatShortest(p.value) + ": a mass cannot be negative");
            return kExitUsage;
        }
        actual[i] = p.value;
    }
    for (const auto& [i, g] : actual) session.setActual(i, g);

    const MinimumWeightCheck check = checkMinimumWeight(*plan, opt.balance);
    const std::optional<double> change = expectedMassChangePct(*plan);
    const std::optional<ElementCounts> counts = asWeighedCounts(session, per);
    std::vector<double> deviation;
    if (counts) deviation = deviationPct(*counts, plannedCounts(*plan, per).value_or(ElementCounts{}));

    std::optional<long long> id;
    if (opt.record) {
        store::LabDatabase db;
        const std::string path = opt.db.empty() ? store::LabDatabase::defaultPath() : opt.db;
        if (db.open(path, opt.db.empty()) != store::OpenStatus::Ok) {
            recipe.say(db.error());
            return kExitLoadFailed;
        }
        if (!db.notice().empty()) recipe.say(db.notice());
        std::ifstream file(opt.recipe, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        id = db.recordSession(sessionRecord(session, text, recipe.model.sampleTag(), per));
        if (!id) {
            recipe.say(db.error());
            return kExitLoadFailed;
        }
    }
    const std::string tag = recipe.model.sampleTag();
    if (!opt.json) {
        printText(session, tag, check, change, counts, deviation, id);
        return kExitOk;
    }
    nlohmann::ordered_json doc;
    doc["file"] = opt.recipe;
    doc["sample_tag"] = tag;
    doc["final_formula"] = plan->finalFormula;
    doc["grams"] = plan->grams;
    doc["factor"] = session.factor();
    doc["final_grams"] = session.finalGrams();
    doc["session_id"] = id ? nlohmann::ordered_json(*id) : nullptr;
    doc["min_weight_grams"] = check.minWeight;
    doc["min_batch_grams"] = check.minBatch;
    doc["mass_change_pct"] = change ? nlohmann::ordered_json(*change) : nullptr;
    doc["as_weighed"] = countsObject(*plan, counts);
    doc["deviation_pct"] = counts ? countsObject(*plan, deviation) : nullptr;
    doc["rows"] = nlohmann::ordered_json::array();
    for (int i = 0; i < session.size(); ++i) {
        const PlanRow& r = plan->rows[i];
        nlohmann::ordered_json row;
        row["row"] = r.row + 1;
        row["formula"] = r.formula;
        if (anyCorrection(byRow)) {
            row["purity_pct"] = r.correction.purityPct;
            row["excess_pct"] = r.correction.excessPct;
        }
        row["planned"] = r.planned;
        row["actual"] = session.actual(i) ? nlohmann::ordered_json(*session.actual(i)) : nullptr;
        row["target"] = session.target(i);
        row["to_add"] = session.toAdd(i);
        row["below_min_weight"] = std::count(check.below.begin(), check.below.end(), i) > 0;
        doc["rows"].push_back(std::move(row));
    }
    const std::string out = jsonText(doc);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace qv::cli
