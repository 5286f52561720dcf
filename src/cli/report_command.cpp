// quorvex-cli report: the weighing report of each recipe, as "Output" writes it.

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/recipe_session.h"
#include "core/element_table.h"
#include "output/output_grams.h"
#include "output/text_report.h"
#include "output/weighing.h"

namespace qv::cli {
namespace {

struct ReportOptions {
    std::string atoms;
    std::string grams;  // empty: the recipe's own "Gram" field
    bool gramsGiven = false;
    bool difference = true;
    bool json = false;
    std::vector<std::string> recipes;
};

bool parseReportOptions(const Invocation& inv, ReportOptions& opt) {
    std::vector<std::string> args;
    bool filesOnly = false;
    opt.atoms = defaultElementFile(inv.program);
    for (std::size_t i = 0; i < inv.args.size(); ++i) {
        const std::string& a = inv.args[i];
        if (filesOnly) {
            opt.recipes.push_back(a);
        } else if (a == "--") {
            filesOnly = true;
        } else if (a == "--grams" || a.rfind("--grams=", 0) == 0) {
            if (a == "--grams") {
                if (i + 1 >= inv.args.size()) {
                    std::fprintf(stderr, "quorvex-cli report: --grams needs a value\n");
                    return false;
                }
                opt.grams = inv.args[++i];
            } else {
                opt.grams = a.substr(8);
            }
            opt.gramsGiven = true;
        } else if (a == "--no-difference") {
            opt.difference = false;
        } else if (a == "--json") {
            opt.json = true;
        } else if (a == "--atoms" || a.rfind("--atoms=", 0) == 0) {
            args.push_back(a);
            if (a == "--atoms" && i + 1 < inv.args.size()) args.push_back(inv.args[++i]);
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "quorvex-cli report: unknown option \"%s\"\n", a.c_str());
            return false;
        } else {
            opt.recipes.push_back(a);
        }
    }
    if (!takeAtomsOption(args, opt.atoms)) return false;
    if (opt.recipes.empty()) {
        std::fprintf(stderr, "quorvex-cli report: no recipe file given\n");
        return false;
    }
    return true;
}

std::string jsonDocument(Model& model, const std::string& path, const std::string& tag,
                         const std::string& status, double grams, bool difference) {
    const WeighingAmounts amounts = computeWeighingAmounts(model, grams);
    nlohmann::ordered_json doc;
    doc["file"] = path;
    doc["sample_tag"] = tag;
    doc["final_formula"] = model.finalCompound.text();
    doc["grams"] = grams;
    doc["ratio"] = model.finalCompound.ratio;
    doc["molar_mass"] = amounts.finalMolarMass;
    doc["status"] = status;
    doc["rows"] = nlohmann::ordered_json::array();
    for (const WeighingAmount& w : amounts.rows) {
        const Formula& entry = model.source(w.row);
        nlohmann::ordered_json row;
        row["row"] = w.row + 1;
        row["formula"] = entry.text();
        row["fixed"] = entry.classify() == Fixed;
        row["ratio"] = entry.ratio;
        row["molar_mass"] = w.molarMass;
        row["grams"] = w.grams;
        doc["rows"].push_back(std::move(row));
    }
    doc["balance_residual"] = difference ? nlohmann::ordered_json(balanceResidual(model)) : nullptr;
    // Sample tags are single-byte text of any code page: never let a stray byte
    // stop the output.
    return doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// The exit status of one recipe.
int reportOne(const ElementTable& table, const ReportOptions& opt, const std::string& path) {
    RecipeSession session(table, opt.recipes.size() > 1 ? path : std::string());
    if (session.load(path) != RecipeResult::Done) return kExitLoadFailed;

    const std::string status = session.form.status();
    if (!status.empty()) session.say(status);
    if (!session.form.outputEnabled()) return kExitOutputDisabled;

    double grams = 0.0;
    const GramCheck check = readOutputGrams(
        opt.gramsGiven ? opt.grams : session.form.controlText(ControlId::Mass), grams);
    if (check != GramCheck::Ok) {
        session.say(std::string(gramCheckMessage(check)));
        return kExitNoReport;
    }
    const std::string tag = session.form.controlText(ControlId::SampleTag);
    const std::optional<std::string> report =
        weighingReportText(session.model, tag, grams, opt.difference);
    if (!report) {
        session.say(std::string(kZeroFinalMassText));
        return kExitNoReport;
    }
    const std::string out = opt.json
        ? jsonDocument(session.model, path, tag, status, grams, opt.difference)
        : *report;
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace

int runReport(const Invocation& inv) {
    ReportOptions opt;
    if (!parseReportOptions(inv, opt)) {
        std::fputc('\n', stderr);
        printUsage(true);
        return kExitUsage;
    }
    ElementTable table;
    if (!loadElements(table, opt.atoms)) return kExitNoElements;
    int exitCode = kExitOk;
    for (const std::string& path : opt.recipes) {
        const int code = reportOne(table, opt, path);
        if (exitCode == kExitOk) exitCode = code;
    }
    return exitCode;
}

}  // namespace qv::cli
