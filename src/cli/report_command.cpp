// quorvex-cli report: the weighing report of each recipe, as "Output" writes it.

#include <cstdio>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/correction_options.h"
#include "cli/json_text.h"
#include "cli/recipe_session.h"
#include "cli/writer_command.h"
#include "core/element_table.h"
#include "output/output_grams.h"
#include "output/report_json.h"
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
    CorrectionOptions corrections;
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
        } else if (const int taken = takeCorrectionOption(inv.args, i, opt.corrections, "report");
                   taken != 0) {
            if (taken != 1) return false;
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

// The exit status of one recipe.
int reportOne(const ElementTable& table, const ReportOptions& opt, const std::string& path,
              WriterReport* writer) {
    RecipeSession session(table, opt.recipes.size() > 1 ? path : std::string());
    // With --json every recipe gives a line: the report, or its file and status.
    const auto noReport = [&](int code, std::string_view status) {
        if (opt.json) {
            const std::string line = jsonLine(noReportJson(path, status));
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fflush(stdout);
        }
        return code;
    };
    if (session.load(path) != RecipeResult::Done)
        return noReport(kExitLoadFailed, session.messages.empty() ? std::string_view(kRecipeLoadFailedText)
                                                                  : session.messages.back().text);
    Corrections corrections;
    if (const int code = gatherCorrections(session, path, opt.corrections, corrections); code != kExitOk)
        return code;

    const std::string status = session.model.status();
    if (!status.empty()) session.say(status);
    if (!session.model.outputEnabled()) return noReport(kExitOutputDisabled, status);

    double grams = 0.0;
    const GramCheck check = readOutputGrams(opt.gramsGiven ? opt.grams : session.model.gramsText(), grams);
    if (check != GramCheck::Ok) {
        session.say(std::string(gramCheckMessage(check)));
        return noReport(kExitNoReport, gramCheckMessage(check));
    }
    if (writer) return writer->type(session, grams, opt.difference, &corrections);
    const std::string tag = session.model.sampleTag();
    std::optional<std::string> out;
    if (opt.json) {
        if (const auto doc =
                weighingReportJson(session.model, {path, tag, status, grams, opt.difference, &corrections}))
            out = jsonLine(*doc);
    } else {
        out = weighingReportText(session.model, tag, grams, opt.difference, &corrections);
    }
    if (!out) {
        // Either the final compound has no molar mass or some amount is not finite.
        std::string refusal = computeWeighingAmounts(session.model, grams).refusal;
        if (refusal.empty()) refusal = kZeroFinalMassText;
        session.say(refusal);
        return noReport(kExitNoReport, refusal);
    }
    std::fwrite(out->data(), 1, out->size(), stdout);
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
