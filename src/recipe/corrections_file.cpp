#include "recipe/corrections_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "core/formula_match.h"
#include "core/formula_text.h"
#include "form/model.h"
#include "recipe/safe_file.h"

namespace qv {
namespace {

using Json = nlohmann::ordered_json;

// Throws with the reason when the entry is malformed.
void need(const Json& entry, const char* key, bool (Json::*is)() const, const char* what) {
    const auto it = entry.find(key);
    if (it == entry.end() || !((*it).*is)())
        throw std::runtime_error(std::string("\"") + key + "\" is not " + what);
}

double percent(const Json& entry, const char* key, double absent) {
    const auto it = entry.find(key);
    if (it == entry.end()) return absent;
    if (!it->is_number()) throw std::runtime_error(std::string("\"") + key + "\" is not a number");
    return it->get<double>();
}

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

std::string correctionsFileText(const Model& model, const Corrections& corrections) {
    Json rows = Json::array();
    // Rows with a correction, and rows whose text is saved bracketed (hydrates).
    for (int row = 0; row < kSourceRows; ++row) {
        if (model.source(row).classify() < Free) continue;
        const auto found = corrections.find(row);
        const Correction c = found == corrections.end() ? Correction{} : found->second;
        const std::string text = model.source(row).text();
        const std::string bracketed = bracketedFormula(text);
        if (!changesGrams(c) && !c.bottleId && c.lot.empty() && bracketed == text) continue;
        Json entry;
        entry["row"] = row + 1;
        entry["formula"] = bracketed;
        entry["as_typed"] = text;
        entry["purity_pct"] = c.purityPct;
        entry["excess_pct"] = c.excessPct;
        entry["bottle_id"] = c.bottleId ? Json(*c.bottleId) : Json(nullptr);
        entry["lot"] = c.lot;
        rows.push_back(std::move(entry));
    }
    if (rows.empty()) return {};
    Json doc;
    doc["format"] = kCorrectionsFormat;
    doc["version"] = kCorrectionsVersion;
    doc["rows"] = std::move(rows);
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool writeCorrectionsFile(const Model& model, const Corrections& corrections, const std::string& recipePath) {
    const std::string path = correctionsPath(recipePath);
    const std::string text = correctionsFileText(model, corrections);
    if (text.empty()) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return !ec;
    }
    return replaceFileContents(path, text);
}

CorrectionsRead readCorrections(const Model& model, std::string_view text, const std::string& name) {
    CorrectionsRead out;
    out.state = CorrectionsRead::State::Read;
    try {
        const Json doc = Json::parse(text);
        if (!doc.is_object() || doc.value("format", std::string()) != kCorrectionsFormat)
            throw std::runtime_error("it is not a Quorvex corrections file");
        need(doc, "version", &Json::is_number_integer, "a whole number");
        if (doc["version"].get<int>() > kCorrectionsVersion)
            throw std::runtime_error("it was written by a newer Quorvex");
        need(doc, "rows", &Json::is_array, "a list");
        for (const Json& entry : doc["rows"]) {
            if (!entry.is_object()) throw std::runtime_error("a row entry is not an object");
            need(entry, "row", &Json::is_number_integer, "a row number");
            need(entry, "formula", &Json::is_string, "a text");
            const int number = entry["row"].get<int>();
            if (number < 1 || number > kSourceRows)
                throw std::runtime_error("row " + std::to_string(number) + " is not a row of the list");
            Correction c;
            c.purityPct = percent(entry, "purity_pct", kFullPurity);
            c.excessPct = percent(entry, "excess_pct", 0.0);
            if (!purityInRange(c.purityPct) || !excessInRange(c.excessPct))
                throw std::runtime_error("row " + std::to_string(number) +
                                         " has a purity or excess out of range");
            if (const auto id = entry.find("bottle_id"); id != entry.end() && id->is_number_integer())
                c.bottleId = id->get<std::int64_t>();
            if (const auto lot = entry.find("lot"); lot != entry.end() && lot->is_string())
                c.lot = lot->get<std::string>();

            const Formula& row = model.source(number - 1);
            const auto wanted = formulaComposition(model.elementTable(), entry["formula"].get<std::string>());
            if (row.classify() < Free || !wanted || !sameComposition(*wanted, row.composition())) {
                out.ignoredRows.push_back(number);
                continue;
            }
            if (changesGrams(c) || c.bottleId || !c.lot.empty()) out.corrections[number - 1] = c;
            // The text as typed, when it still names the row's compound.
            if (const auto typed = entry.find("as_typed"); typed != entry.end() && typed->is_string()) {
                const auto same = formulaComposition(model.elementTable(), typed->get<std::string>());
                if (same && sameComposition(*same, row.composition()))
                    out.asTyped[number - 1] = typed->get<std::string>();
            }
        }
    } catch (const std::exception& e) {
        CorrectionsRead damaged;
        damaged.state = CorrectionsRead::State::Damaged;
        const std::string reason =
            dynamic_cast<const Json::exception*>(&e) ? "it is not valid JSON" : e.what();
        damaged.message = "The corrections file " + name + " could not be read (" + reason +
                          "); the recipe opens without corrections.";
        return damaged;
    }
    for (const int number : out.ignoredRows) {
        if (!out.message.empty()) out.message += ' ';
        out.message += "The correction of row " + std::to_string(number) +
                       " was left out: the row no longer holds that compound.";
    }
    return out;
}

CorrectionsRead readCorrectionsFile(const Model& model, const std::string& recipePath) {
    const std::string path = correctionsPath(recipePath);
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    return readCorrections(model, text, fileName(path));
}

}  // namespace qv
