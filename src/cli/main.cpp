// quorvex-cli: the model's calculations from the command line, one verb per
// source file.

#include <cstdio>
#include <string>

#include "cli/cli_common.h"
#include "version.h"

namespace {

struct Verb {
    const char* name;
    int (*run)(const qv::cli::Invocation&);
};

constexpr Verb kVerbs[] = {
    {"mass", qv::cli::runMass},
    {"report", qv::cli::runReport},
    {"series", qv::cli::runSeries},
    {"solve", qv::cli::runSolve},
};

}  // namespace

int main(int argc, char** argv) {
    using namespace qv::cli;
    if (argc < 2) {
        printUsage(true);
        return kExitUsage;
    }
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        printUsage(false);
        return kExitOk;
    }
    if (verb == "--version") {
        std::printf("quorvex-cli %s\n", QV_VERSION);
        return kExitOk;
    }
    Invocation inv;
    inv.program = argv[0];
    for (int i = 2; i < argc; ++i) inv.args.emplace_back(argv[i]);
    for (const Verb& v : kVerbs) {
        if (verb == v.name) return v.run(inv);
    }
    std::fprintf(stderr, "quorvex-cli: unknown verb \"%s\"\n\n", verb.c_str());
    printUsage(true);
    return kExitUsage;
}
