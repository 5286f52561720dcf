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
    std::fprintf(stderr, "Couldn't load data from ATOMS.LST.\n(%s: load code %d)\n", path.c_str(), loaded);
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

OptionMatch matchOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                        std::string& value) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) return OptionMatch::Missing;
        value = args[++i];
        return OptionMatch::Yes;
    }
    if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
        value = a.substr(name.size() + 1);
        return OptionMatch::Yes;
    }
    return OptionMatch::No;
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
        "      exit status: 0 all formulas parsed, 1 some formula invalid.\n"
        "\n"
        "  report [--atoms FILE] [--grams G] [--no-difference]\n"
        "         [--purity FORMULA=PCT]... [--excess FORMULA=PCT]... [--library DB]\n"
        "         [--json | --writer FILE] RECIPE.qvs...\n"
        "      Load each recipe as Open does and run the solver; its status text\n"
        "      goes to stderr. When \"Output\" would be enabled, print the weighing\n"
        "      report for G grams (default: the recipe's own) with the balance\n"
        "      residual unless --no-difference; --json prints one compact JSON\n"
        "      document per line for each recipe (a recipe without a report\n"
        "      gives a line with its file, status and no rows).\n"
        "      Corrections: those saved beside the recipe (RECIPE.qvs.json), then\n"
        "      the bottles of the lab database DB, then --purity (0 < PCT <= 100)\n"
        "      and --excess (0 <= PCT <= 100) for the rows of that compound; the\n"
        "      grams to weigh are grams x (1 + excess/100) / (purity/100).\n"
        "      exit status: 0 report printed, 1 a recipe failed to load or DB\n"
        "      could not be opened, 3 the solver left \"Output\" disabled, 4 the\n"
        "      grams were refused; with several recipes, that of the first one\n"
        "      without a report; 64 a bad value or a formula on no row.\n"
        "      --writer FILE types the reports into one new LibreOffice Writer\n"
        "      document instead, through a private headless office, and stores\n"
        "      it as FILE (.docx: Word format, else OpenDocument); 5 no office\n"
        "      installed or none started, 6 the office failed or FILE could not\n"
        "      be stored.\n"
        "\n"
        "  library [--db DB] [--atoms FILE] ACTION\n"
        "      The lab's bottles, in DB (default: $XDG_DATA_HOME/Quorvex/lab.sqlite).\n"
        "      add FORMULA [--label T] [--supplier T] [--lot T] [--purity PCT]\n"
        "          [--excess PCT]   store a bottle and print its id\n"
        "      list [--format text|csv|json]\n"
        "      remove ID\n"
        "      import FILE.csv / export FILE.csv   with the header\n"
        "          id,formula,label,supplier,lot,purity_pct,excess_pct\n"
        "      exit status: 0 done, 1 DB or FILE could not be opened, 2 no\n"
        "      elements, 64 a bad value (purity, excess, formula, id).\n"
        "\n"
        "  series [--atoms FILE] RECIPE.qvs --final TEMPLATE --vary NAME=FROM:TO:STEP\n"
        "         [--grams G] [--purity FORMULA=PCT]... [--format text|csv|json|jsonl]\n"
        "      Solve the recipe once per value NAME = FROM, FROM+STEP, ... TO with\n"
        "      the final compound written from TEMPLATE, where each {expression}\n"
        "      of NAME is a count (e.g. \"Ba{1-x}Sr{x}TiO3\"; a count of 0 drops\n"
        "      its element, a negative one fails that sample). Print the grams\n"
        "      to weigh of each listed row for G grams (default: the recipe's\n"
        "      own), a material of PCT % purity weighed heavier by 100/PCT:\n"
        "      an aligned table (text), RFC 4180 CSV, or a JSON array with the\n"
        "      ratios, molar masses and balance residual (jsonl: one per line).\n"
        "      exit status: 0 every sample solved, 1 the recipe failed to load,\n"
        "      3 some sample has no answer (all are printed), 64 a bad command\n"
        "      line, template or expression.\n"
        "\n"
        "  solve [--atoms FILE] RECIPE.qvs -o OUT.qvs\n"
        "      Load the recipe, run the solver and save it with the solved ratios\n"
        "      (OUT may be RECIPE; the old file is replaced only when complete).\n"
        "      exit status: 0 solved and saved, 1 load failed, 3 saved but the\n"
        "      solver left \"Output\" disabled, 4 not saved.\n"
        "\n"
        "  weigh [--atoms FILE] RECIPE.qvs [--actual FORMULA|ROW=GRAMS]... [--grams G]\n"
        "        [--purity FORMULA=PCT]... [--excess FORMULA=PCT]... [--readability G]\n"
        "        [--repeatability G] [--tolerance PCT] [--per ELEMENT] [--db DB]\n"
        "        [--no-record] [--format text|json]\n"
        "      The recipe's weighing plan (grams to weigh with the corrections)\n"
        "      rescaled to the grams actually weighed: factor f = the largest\n"
        "      actual / planned, at least 1; every target becomes planned x f.\n"
        "      Also the balance's minimum weight (readability default 0.0001 g,\n"
        "      tolerance 0.10 %), the rows below it and the smallest batch, the\n"
        "      mass change on firing and, once every row is weighed, the\n"
        "      composition as weighed (scaled to the final compound's counts,\n"
        "      or so that ELEMENT's count is). The session is recorded in the\n"
        "      lab database unless --no-record.\n"
        "      exit status: 0 done, 1 the recipe or the database could not be\n"
        "      read, 3 the recipe has no answer, 4 the grams were refused, 64 a\n"
        "      bad value (unknown formula, negative mass, ...).\n"
        "\n"
        "  log [--db DB] [--search TEXT] [--format text|csv|json]\n"
        "  log [--db DB] --fired ID=GRAMS [--before GRAMS] [--format text|json]\n"
        "      List the recorded weighing sessions (newest first), or record the\n"
        "      mass after firing (and before; by default the sum of the actual\n"
        "      masses) of session ID and print it with the completeness.\n"
        "      exit status: 0 done, 1 the database could not be opened, 64 a bad\n"
        "      value or an unknown session.\n"
        "\n"
        "  quorvex-cli --help      shows this text.\n"
        "  quorvex-cli --version   prints the version.\n"
        "\n"
        "exit status of every verb: 2 no elements could be loaded, 64 bad\n"
        "command line.\n",
        out);
}

}  // namespace qv::cli
