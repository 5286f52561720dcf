#include "store/bottle_csv.h"

#include <array>

#include "core/csv.h"
#include "core/formula_match.h"
#include "core/number_format.h"
#include "core/number_scan.h"

namespace qv::store {
namespace {

constexpr std::array<std::string_view, 7> kColumns = {"id",  "formula",    "label",     "supplier",
                                                      "lot", "purity_pct", "excess_pct"};

bool readPercent(const std::string& text, double empty, double& value) {
    if (text.empty()) {
        value = empty;
        return true;
    }
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    const std::size_t used = scanDecimal(text, start, value);
    std::size_t end = start + used;
    while (end < text.size() && text[end] == ' ') ++end;
    return used > 0 && end == text.size();
}

}  // namespace

std::vector<Bottle> bottlesFor(const std::vector<Bottle>& bottles, const ElementTable& table,
                               const Composition& composition) {
    std::vector<Bottle> out;
    for (const Bottle& b : bottles) {
        const auto c = formulaComposition(table, b.formula);
        if (c && sameComposition(*c, composition)) out.push_back(b);
    }
    return out;
}

std::string bottlesCsv(const std::vector<Bottle>& bottles) {
    std::string out = csvLine(CsvRecord(kColumns.begin(), kColumns.end()));
    for (const Bottle& b : bottles)
        out += csvLine({std::to_string(b.id), b.formula, b.label, b.supplier, b.lot,
                        formatShortest(b.purityPct), formatShortest(b.excessPct)});
    return out;
}

bool parseBottlesCsv(std::string_view text, std::vector<Bottle>& bottles, std::string& error) {
    bottles.clear();
    // Spreadsheets often start their UTF-8 with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<CsvRecord> records;
    if (!parseCsv(text, records, error)) return false;
    if (records.empty()) {
        error = "no header line";
        return false;
    }
    std::array<int, kColumns.size()> at;
    at.fill(-1);
    for (std::size_t c = 0; c < records[0].size(); ++c) {
        std::size_t k = 0;
        while (k < kColumns.size() && kColumns[k] != records[0][c]) ++k;
        if (k == kColumns.size()) {
            error = "line 1: unknown column \"" + records[0][c] + "\"";
            return false;
        }
        at[k] = static_cast<int>(c);
    }
    if (at[1] < 0) {
        error = "line 1: no \"formula\" column";
        return false;
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        if (rec.size() == 1 && rec[0].empty()) continue;  // a blank line
        const std::string where = "line " + std::to_string(r + 1) + ": ";
        const auto field = [&](std::size_t k) {
            return at[k] >= 0 && static_cast<std::size_t>(at[k]) < rec.size() ? rec[at[k]] : std::string();
        };
        Bottle b;
        b.formula = field(1);
        b.label = field(2);
        b.supplier = field(3);
        b.lot = field(4);
        if (b.formula.empty()) {
            error = where + "no formula";
            return false;
        }
        if (!readPercent(field(5), 100.0, b.purityPct)) {
            error = where + "purity_pct \"" + field(5) + "\" is not a number";
            return false;
        }
        if (!readPercent(field(6), 0.0, b.excessPct)) {
            error = where + "excess_pct \"" + field(6) + "\" is not a number";
            return false;
        }
        if (const std::string bad = checkCorrections(b.purityPct, b.excessPct); !bad.empty()) {
            error = where + b.formula + ": " + bad;
            return false;
        }
        bottles.push_back(std::move(b));
    }
    return true;
}

}  // namespace qv::store
