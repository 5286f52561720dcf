#include "cli/cli_common.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/element_table.h"

namespace qv::cli {

std::string defaultElementFile(const std::string& argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) exe = fs::path(argv0);
    fs::path dir = exe.parent_path();
    return (dir.empty() ? fs::path("ATOMS.LST") : dir / "ATOMS.LST").string();
}

bool loadElements(ElementTable& table, const std::string& path) {
    const int loaded = table.loadElementTable(path);
    if (loaded > 0) return true;
    std::fprintf(stderr, "Couldn't load data from ATOMS.LST.\n(%s: load code %d)\n", path.c_str(),
                 loaded);
    return false;
}

bool takeAtomsOption(std::vector<std::string>& args, std::string& path) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {  // everything after is a formula
            rest.insert(rest.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (a == "--atoms") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "quorvex-cli: --atoms needs a file name\n");
                return false;
            }
            path = args[++i];
        } else if (a.rfind("--atoms=", 0) == 0) {
            path = a.substr(8);
        } else {
            rest.push_back(a);
        }
    }
    args = std::move(rest);
    return true;
}

void printUsage(bool toStderr) {
    std::FILE* out = toStderr ? stderr : stdout;
    std::fputs(
        "usage: quorvex-cli VERB [ARGS...]\n"
        "\n"
        "verbs:\n"
        "  mass [--atoms FILE] FORMULA...\n"
        "      For each formula print one tab-separated line: the formula, its\n"
        "      composition (in element-file order) and its molar mass. A formula\n"
        "      that does not parse prints the formula, \"invalid\" and the parser's\n"
        "      code (-1 unbalanced brackets, -2 any other error).\n"
        "      --atoms FILE reads the elements from FILE instead of the ATOMS.LST\n"
        "      beside this program.\n"
        "\n"
        "  quorvex-cli --help   shows this text.\n"
        "\n"
        "exit status: 0 all formulas parsed, 1 some formula invalid,\n"
        "             2 no elements could be loaded, 64 bad command line.\n",
        out);
}

}  // namespace qv::cli
