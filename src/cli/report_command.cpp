// quorvex-cli report: the weighing report of each recipe, as "Output" writes it.

#include <cstdio>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/json_text.h"
#include "cli/purity.h"
#include "cli/recipe_session.h"
#include "cli/writer_command.h"
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
    std::vector<Purity> purities;
    std::string writer;  // a Writer document to type the reports into
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
        } else if (const OptionMatch grams = matchOption(inv.args, i, "--grams", opt.grams);
                   grams != OptionMatch::No) {
            if (grams == OptionMatch::Missing) {
                std::fprintf(stderr, "quorvex-cli report: --grams needs a value\n");
                return false;
            }
            opt.gramsGiven = true;
        } else if (std::string text; matchOption(inv.args, i, "--purity", text) != OptionMatch::No) {
            std::string error = "--purity needs FORMULA=PCT";
            if (text.empty() || !parsePurity(text, opt.purities.emplace_back(), error)) {
                std::fprintf(stderr, "quorvex-cli report: %s\n", error.c_str());
                return false;
            }
        } else if (a == "--no-difference") {
            opt.difference = false;
        } else if (a == "--json") {
            opt.json = true;
        } else if (a == "--writer" || a.rfind("--writer=", 0) == 0) {
            if (a == "--writer" && i + 1 >= inv.args.size()) {
                std::fprintf(stderr, "quorvex-cli report: --writer needs a file\n");
                return false;
            }
            opt.writer = a == "--writer" ? inv.args[++i] : a.substr(9);
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
    if (opt.json && !opt.writer.empty()) {
        std::fprintf(stderr, "quorvex-cli report: --json and --writer exclude each other\n");
        return false;
    }
    if (opt.recipes.empty()) {
        std::fprintf(stderr, "quorvex-cli report: no recipe file given\n");
        return false;
    }
    return true;
}

std::string jsonDocument(Model& model, const std::string& path, const std::string& tag,
                         const std::string& status, double grams, bool difference,
                         const std::map<int, double>* purity) {
    const WeighingAmounts amounts = computeWeighingAmounts(model, grams);
    nlohmann::ordered_json doc;
    doc["file"] = path;
    doc["sample_tag"] = tag;
    doc["final_formula"] = model.finalCompound().text();
    doc["grams"] = grams;
    doc["ratio"] = model.finalCompound().ratio();
    doc["molar_mass"] = amounts.finalMolarMass;
    doc["status"] = status;
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
        if (purity) {
            const auto p = purity->find(w.row);
            row["grams_corrected"] = p == purity->end() ? w.grams : correctedGrams(w.grams, p->second);
        }
        doc["rows"].push_back(std::move(row));
    }
    doc["balance_residual"] = difference ? nlohmann::ordered_json(balanceResidual(model)) : nullptr;
    return jsonText(doc);
}

// The exit status of one recipe.
int reportOne(const ElementTable& table, const ReportOptions& opt, const std::string& path,
              WriterReport* writer) {
    RecipeSession session(table, opt.recipes.size() > 1 ? path : std::string());
    if (session.load(path) != RecipeResult::Done) return kExitLoadFailed;
    std::map<int, double> purity;
    if (std::string error; !purityByRow(session.model, opt.purities, purity, error)) {
        session.say(error);
        return kExitUsage;
    }

    const std::string status = session.model.status();
    if (!status.empty()) session.say(status);
    if (!session.model.outputEnabled()) return kExitOutputDisabled;

    double grams = 0.0;
    const GramCheck check = readOutputGrams(opt.gramsGiven ? opt.grams : session.model.gramsText(), grams);
    if (check != GramCheck::Ok) {
        session.say(std::string(gramCheckMessage(check)));
        return kExitNoReport;
    }
    if (writer) return writer->type(session, grams, opt.difference);
    const std::string tag = session.model.sampleTag();
    const std::optional<std::string> report = weighingReportText(session.model, tag, grams, opt.difference);
    if (!report) {
        const std::string refusal = computeWeighingAmounts(session.model, grams).refusal;
        session.say(refusal);
        if (opt.json) {
            nlohmann::ordered_json doc{
                {"file", path}, {"status", refusal}, {"rows", nlohmann::ordered_json::array()}};
            std::printf("%s\n", doc.dump().c_str());
        }
        return kExitNoReport;
    }
    const std::string out = opt.json ? jsonDocument(session.model, path, tag, status, grams, opt.difference,
                                                    opt.purities.empty() ? nullptr : &purity)
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
    if (!opt.purities.empty() && !opt.json)
        std::fprintf(stderr, "quorvex-cli report: --purity changes the --json output only\n");
    ElementTable table;
    if (!loadElements(table, opt.atoms)) return kExitNoElements;
    std::unique_ptr<WriterReport> writer;
    if (!opt.writer.empty()) {
        writer = std::make_unique<WriterReport>(opt.writer);
        if (!writer->ready()) return kExitNoOffice;
    }
    int exitCode = kExitOk;
    for (const std::string& path : opt.recipes) {
        const int code = reportOne(table, opt, path, writer.get());
        if (exitCode == kExitOk) exitCode = code;
    }
    if (writer) {
        const int code = writer->finish();
        if (exitCode == kExitOk) exitCode = code;
    }
    return exitCode;
}

}  // namespace qv::cli
