#pragma once
// A series as the command line prints it and the Series dialog exports it:
// a CSV of the grams to weigh, one JSON document per sample, and the table
// for the balance.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "plan/series.h"

namespace qv {

// Header "NAME,final_formula,status,<formula of each column>", then one
// record per sample with the corrected grams (empty without an answer);
// CR LF line ends, RFC 4180 quoting.
std::string seriesCsv(const std::string& variable, const std::vector<SeriesColumn>& columns,
                      const std::vector<SeriesSample>& samples);

// One sample: the value under the variable's name, the final formula, status,
// grams (null when refused), ratio, molar mass, the rows (each with
// purity_pct, excess_pct, grams and grams_corrected, null without an answer)
// and the balance residual.
nlohmann::ordered_json seriesSampleJson(const std::string& variable, const std::vector<SeriesColumn>& columns,
                                        const SeriesSample& sample, double grams, bool gramsOk);

// The aligned table: sample tag, the grams line, a header with each column's
// formula (and purity and excess when set) and molar mass, then one line per
// sample with the corrected grams to six decimals.
std::string seriesTable(const std::string& variable, const std::string& tag,
                        const std::vector<SeriesColumn>& columns, const std::vector<SeriesSample>& samples,
                        const std::string& gramsText);

// Grams with six decimals kept, so the points line up down a column.
std::string fixedGrams(double grams);

}  // namespace qv
