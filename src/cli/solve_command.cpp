// quorvex-cli solve: load a recipe, let the solver fill in the free ratios,
// and save it with them.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/recipe_session.h"
#include "core/element_table.h"
#include "recipe/recipe_file.h"

namespace qv::cli {

int runSolve(const Invocation& inv) {
    std::vector<std::string> args = inv.args;
    std::string atoms = defaultElementFile(inv.program);
    if (!takeAtomsOption(args, atoms)) return kExitUsage;
    std::string input;
    std::string output;
    bool usageError = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            if (i + 1 < args.size())
                output = args[++i];
            else
                usageError = true;
        } else if (a.rfind("--output=", 0) == 0) {
            output = a.substr(9);
        } else if (input.empty() && !(a.size() > 1 && a[0] == '-')) {
            input = a;
        } else {
            usageError = true;
        }
    }
    if (usageError || input.empty() || output.empty()) {
        std::fprintf(stderr, "quorvex-cli solve: expected RECIPE.qvs -o OUT.qvs\n\n");
        printUsage(true);
        return kExitUsage;
    }

    ElementTable table;
    if (!loadElements(table, atoms)) return kExitNoElements;
    RecipeSession session(table, std::string());
    if (session.load(input) != RecipeResult::Done) return kExitLoadFailed;
    const std::string status = session.model.status();
    if (!status.empty()) session.say(status);

    const RecipeResult saved = saveRecipe(session.model, output);
    session.flushMessages();
    if (saved != RecipeResult::Done) return kExitNoReport;
    return session.model.outputEnabled() ? kExitOk : kExitOutputDisabled;
}

}  // namespace qv::cli
