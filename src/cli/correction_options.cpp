#include "cli/correction_options.h"

#include <cstdio>
#include <filesystem>

#include "cli/cli_common.h"
#include "cli/recipe_session.h"
#include "core/formula_match.h"
#include "core/number_scan.h"
#include "recipe/corrections_file.h"
#include "store/bottle_csv.h"
#include "store/lab_database.h"

namespace qv::cli {
namespace {

bool readFlag(const std::string& name, const std::string& text, bool purity, CorrectionFlag& flag,
              std::string& error) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
        error = name + " needs FORMULA=PCT, not \"" + text + "\"";
        return false;
    }
    flag.formula = text.substr(0, equals);
    const std::string number = text.substr(equals + 1);
    const std::size_t used = scanDecimal(number, 0, flag.percent);
    const bool inRange = purity ? purityInRange(flag.percent) : excessInRange(flag.percent);
    if (used != number.size() || !inRange) {
        error = name + " " + flag.formula + ": the percentage must be a number " +
                (purity ? "above 0 and at most 100" : "from 0 to 100") + ", not \"" + number + "\"";
        return false;
    }
    return true;
}

// Applies the flags to the rows of their compound. False (said) for a formula
// that does not parse, is on no listed row, or is given twice.
bool applyFlags(RecipeSession& session, const std::vector<CorrectionFlag>& flags, const char* name,
                bool purity, Corrections& corrections) {
    for (std::size_t k = 0; k < flags.size(); ++k) {
        const CorrectionFlag& flag = flags[k];
        const auto wanted = formulaComposition(session.model.elementTable(), flag.formula);
        if (!wanted) {
            session.say(std::string(name) + " " + flag.formula + ": not a formula of the element file");
            return false;
        }
        for (std::size_t j = 0; j < k; ++j)
            if (const auto earlier = formulaComposition(session.model.elementTable(), flags[j].formula);
                earlier && sameComposition(*earlier, *wanted)) {
                session.say(std::string(name) + " " + flag.formula + ": given twice");
                return false;
            }
        bool found = false;
        for (int row = 0; row < kSourceRows; ++row) {
            const Formula& entry = session.model.source(row);
            if (entry.classify() < Free || !sameComposition(entry.composition(), *wanted)) continue;
            (purity ? corrections[row].purityPct : corrections[row].excessPct) = flag.percent;
            found = true;
        }
        if (!found) {
            session.say(std::string(name) + " " + flag.formula +
                        ": no source row of the recipe holds this formula");
            return false;
        }
    }
    return true;
}

}  // namespace

int takeCorrectionOption(const std::vector<std::string>& args, std::size_t& i, CorrectionOptions& options,
                         const char* verb) {
    for (const char* name : {"--purity", "--excess", "--library"}) {
        std::string value;
        const OptionMatch match = matchOption(args, i, name, value);
        if (match == OptionMatch::No) continue;
        std::string error;
        const std::string option = name;
        if (match == OptionMatch::Missing || value.empty()) {
            error = option + (option == "--library" ? " needs a database file" : " needs FORMULA=PCT");
        } else if (option == "--library") {
            options.library = value;
            return 1;
        } else {
            const bool purity = option == "--purity";
            CorrectionFlag flag;
            if (readFlag(option, value, purity, flag, error)) {
                (purity ? options.purity : options.excess).push_back(flag);
                return 1;
            }
        }
        std::fprintf(stderr, "quorvex-cli %s: %s\n", verb, error.c_str());
        return kExitUsage;
    }
    return 0;
}

int gatherCorrections(RecipeSession& session, const std::string& recipePath, const CorrectionOptions& options,
                      Corrections& corrections) {
    corrections.clear();
    const Model& model = session.model;
    const CorrectionsRead saved = readCorrectionsFile(model, recipePath);
    if (!saved.message.empty()) session.say(saved.message);
    corrections = saved.corrections;

    if (!options.library.empty()) {
        store::LabDatabase db;
        std::error_code ec;
        if (!std::filesystem::exists(options.library, ec)) {
            session.say(options.library + ": cannot open the lab database: no such file");
            return kExitLoadFailed;
        }
        if (db.open(options.library) != store::OpenStatus::Ok) {
            session.say(db.error());
            return kExitLoadFailed;
        }
        if (!db.notice().empty()) session.say(db.notice());
        const auto bottles = db.bottles();
        if (!bottles) {
            session.say(db.error());
            return kExitLoadFailed;
        }
        for (int row = 0; row < kSourceRows; ++row) {
            const Formula& entry = model.source(row);
            if (entry.classify() < Free) continue;
            const std::vector<store::Bottle> match =
                store::bottlesFor(*bottles, model.elementTable(), entry.composition());
            if (match.empty()) continue;
            // The bottle saved with the recipe when it is still there, else the oldest.
            const auto savedId = corrections.count(row) ? corrections[row].bottleId : std::nullopt;
            const store::Bottle* chosen = &match.front();
            for (const store::Bottle& b : match)
                if (savedId && b.id == *savedId) chosen = &b;
            if (match.size() > 1 && !(savedId && chosen->id == *savedId))
                session.say("row " + std::to_string(row + 1) + ": " + std::to_string(match.size()) +
                            " bottles hold " + entry.text() + "; took bottle " + std::to_string(chosen->id));
            corrections[row] = {chosen->purityPct, chosen->excessPct, chosen->id, chosen->lot};
        }
    }
    if (!applyFlags(session, options.purity, "--purity", true, corrections) ||
        !applyFlags(session, options.excess, "--excess", false, corrections))
        return kExitUsage;
    return kExitOk;
}

}  // namespace qv::cli
