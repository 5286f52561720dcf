// quorvex-cli library: the lab's bottles in the lab database.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/json_text.h"
#include "core/element_table.h"
#include "core/formula_match.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "recipe/safe_file.h"
#include "store/bottle_csv.h"
#include "store/lab_database.h"

namespace qv::cli {
namespace {

using store::Bottle;

int complain(const std::string& text, int code = kExitUsage) {
    std::fprintf(stderr, "quorvex-cli library: %s\n", text.c_str());
    return code;
}

struct LibraryOptions {
    std::string db;
    std::string atoms;
    std::string format = "text";
    std::string action;
    std::vector<std::string> operands;
    Bottle bottle;
    std::string purity, excess;  // as given, read once the action is known
};

bool readPercent(const std::string& name, const std::string& text, double& value, std::string& error) {
    if (scanDecimal(text, 0, value) == text.size() && !text.empty()) return true;
    error = name + " must be a number, not \"" + text + "\"";
    return false;
}

// Characters, not bytes, for lining up columns of UTF-8 text.
std::size_t shownWidth(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string listText(const std::vector<Bottle>& bottles) {
    std::vector<std::vector<std::string>> table = {
        {"ID", "Formula", "Purity(%)", "Excess(%)", "Lot", "Supplier", "Label"}};
    for (const Bottle& b : bottles)
        table.push_back({std::to_string(b.id), b.formula, formatDecimal(b.purityPct, 6),
                         formatDecimal(b.excessPct, 6), b.lot, b.supplier, b.label});
    std::vector<std::size_t> width(table[0].size(), 0);
    for (const auto& row : table)
        for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], shownWidth(row[c]));
    std::string out;
    for (const auto& row : table) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line.append(width[c] - shownWidth(row[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string listJson(const std::vector<Bottle>& bottles) {
    nlohmann::ordered_json doc = nlohmann::ordered_json::array();
    for (const Bottle& b : bottles) {
        nlohmann::ordered_json o;
        o["id"] = b.id;
        o["formula"] = b.formula;
        o["label"] = b.label;
        o["supplier"] = b.supplier;
        o["lot"] = b.lot;
        o["purity_pct"] = b.purityPct;
        o["excess_pct"] = b.excessPct;
        doc.push_back(std::move(o));
    }
    return jsonText(doc);
}

bool parse(const Invocation& inv, LibraryOptions& opt) {
    opt.atoms = defaultElementFile(inv.program);
    const std::vector<std::string>& args = inv.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        OptionMatch m = OptionMatch::No;
        const auto option = [&](const char* name, std::string& into) {
            m = matchOption(args, i, name, value);
            if (m == OptionMatch::Yes) into = value;
            return m != OptionMatch::No;
        };
        if (option("--db", opt.db) || option("--atoms", opt.atoms) || option("--format", opt.format) ||
            option("--label", opt.bottle.label) || option("--supplier", opt.bottle.supplier) ||
            option("--lot", opt.bottle.lot) || option("--purity", opt.purity) ||
            option("--excess", opt.excess)) {
            if (m == OptionMatch::Missing) {
                complain(args[i] + " needs a value");
                return false;
            }
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            complain("unknown option \"" + args[i] + "\"");
            return false;
        } else if (opt.action.empty()) {
            opt.action = args[i];
        } else {
            opt.operands.push_back(args[i]);
        }
    }
    static const std::vector<std::pair<std::string, std::size_t>> kActions = {
        {"add", 1}, {"list", 0}, {"remove", 1}, {"import", 1}, {"export", 1}};
    for (const auto& [name, operands] : kActions) {
        if (opt.action != name) continue;
        if (opt.operands.size() != operands) {
            complain(name + (operands ? " takes one argument" : " takes no argument"));
            return false;
        }
        if (opt.format != "text" && opt.format != "csv" && opt.format != "json") {
            complain("--format must be text, csv or json, not \"" + opt.format + "\"");
            return false;
        }
        return true;
    }
    complain(opt.action.empty() ? "no action given (add, list, remove, import or export)"
                                : "unknown action \"" + opt.action + "\"");
    return false;
}

// Every formula must parse with the element file: a bottle of an unknown
// compound would never match a row.
int checkFormulas(const std::vector<Bottle>& bottles, const std::string& atoms, const std::string& where) {
    ElementTable table;
    if (!loadElements(table, atoms)) return kExitNoElements;
    for (std::size_t i = 0; i < bottles.size(); ++i)
        if (!formulaComposition(table, bottles[i].formula))
            return complain((where.empty() ? "" : where + " line " + std::to_string(i + 2) + ": ") + "\"" +
                            bottles[i].formula + "\" is not a formula of the element file");
    return kExitOk;
}

}  // namespace

int runLibrary(const Invocation& inv) {
    LibraryOptions opt;
    if (!parse(inv, opt)) {
        std::fputc('\n', stderr);
        printUsage(true);
        return kExitUsage;
    }
    // Values first: a bad one leaves the database untouched.
    std::vector<Bottle> adding;
    if (opt.action == "add") {
        opt.bottle.formula = opt.operands[0];
        std::string error;
        if ((!opt.purity.empty() && !readPercent("--purity", opt.purity, opt.bottle.purityPct, error)) ||
            (!opt.excess.empty() && !readPercent("--excess", opt.excess, opt.bottle.excessPct, error)))
            return complain(error);
        if (const std::string bad = store::checkCorrections(opt.bottle.purityPct, opt.bottle.excessPct);
            !bad.empty())
            return complain(bad);
        adding.push_back(opt.bottle);
        if (const int code = checkFormulas(adding, opt.atoms, ""); code != kExitOk) return code;
    } else if (opt.action == "import") {
        std::ifstream in(opt.operands[0], std::ios::binary);
        if (!in) return complain(opt.operands[0] + ": cannot read the file", kExitLoadFailed);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        std::string error;
        if (!store::parseBottlesCsv(text, adding, error)) return complain(opt.operands[0] + ": " + error);
        if (const int code = checkFormulas(adding, opt.atoms, opt.operands[0]); code != kExitOk) return code;
    }
    std::int64_t removing = 0;
    if (opt.action == "remove") {
        long id = 0;
        if (scanLong(opt.operands[0], 0, id) != opt.operands[0].size() || id <= 0)
            return complain("remove needs a bottle id, not \"" + opt.operands[0] + "\"");
        removing = id;
    }

    store::LabDatabase db;
    const bool byDefault = opt.db.empty();
    if (db.open(byDefault ? store::LabDatabase::defaultPath() : opt.db, byDefault) != store::OpenStatus::Ok)
        return complain(db.error(), kExitLoadFailed);
    if (!db.notice().empty()) complain(db.notice(), 0);

    if (opt.action == "add") {
        const auto id = db.addBottle(adding.front());
        if (!id) return complain(db.error(), kExitLoadFailed);
        std::printf("%lld\n", static_cast<long long>(*id));
        return kExitOk;
    }
    if (opt.action == "import")
        return db.addBottles(adding) ? kExitOk : complain(db.error(), kExitLoadFailed);
    if (opt.action == "remove") {
        const store::Found found = db.removeBottle(removing);
        if (found == store::Found::No) return complain("no bottle " + std::to_string(removing));
        return found == store::Found::Yes ? kExitOk : complain(db.error(), kExitLoadFailed);
    }
    const auto bottles = db.bottles();
    if (!bottles) return complain(db.error(), kExitLoadFailed);
    if (opt.action == "export") {
        if (!replaceFileContents(opt.operands[0], store::bottlesCsv(*bottles)))
            return complain(opt.operands[0] + ": cannot write the file", kExitLoadFailed);
        return kExitOk;
    }
    const std::string out = opt.format == "csv"    ? store::bottlesCsv(*bottles)
                            : opt.format == "json" ? listJson(*bottles)
                                                   : listText(*bottles);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace qv::cli
