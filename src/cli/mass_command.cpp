// quorvex-cli mass: composition and molar mass of each formula given.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "core/composition.h"
#include "core/element_table.h"
#include "core/formula_parser.h"
#include "core/formula_text.h"
#include "core/number_format.h"

namespace qv::cli {

int runMass(const Invocation& inv) {
    std::vector<std::string> args = inv.args;
    std::string atoms = defaultElementFile(inv.program);
    if (!takeAtomsOption(args, atoms)) return kExitUsage;
    if (args.empty()) {
        std::fprintf(stderr, "quorvex-cli mass: no formula given\n\n");
        printUsage(true);
        return kExitUsage;
    }
    ElementTable table;
    if (!loadElements(table, atoms)) return kExitNoElements;

    int exitCode = kExitOk;
    for (const std::string& text : args) {
        std::unique_ptr<FormulaNode> tree;
        const int code = parseFormula(table, text, &tree);
        Composition composition;
        if (code != ParseOk || evaluateFormula(1.0, tree.get(), composition) != 0) {
            std::printf("%s\tinvalid\t%d\n", text.c_str(), code != ParseOk ? code : ParseError);
            exitCode = kExitSomeInvalid;
            continue;
        }
        std::printf("%s\t%s\t%s\n", text.c_str(), compositionText(table, composition).c_str(),
                    formatDecimal(compositionMass(table, composition), 6).c_str());
        if (const std::optional<std::string> hint = decimalTrapHint(text)) {
            std::fflush(stdout);
            std::fprintf(stderr, "quorvex-cli mass: %s\n", hint->c_str());
        }
    }
    return exitCode;
}

}  // namespace qv::cli
