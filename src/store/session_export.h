#pragma once
// Weighing sessions as JSON and CSV, for the command line's log and the Log
// dialog's exports: the same fields under the same names in both.

#include <string>
#include <vector>

#include "store/lab_database.h"

namespace qv::store {

// One compact JSON object: id, time, sample_tag, final_formula, final_grams,
// factor, rows (row, formula, planned, actual, bottle_id, lot), as_weighed,
// fired_grams, before_grams, completeness_pct; null where a value is missing.
std::string sessionJson(const Session& session);
// A JSON array of the sessions, one object a line.
std::string sessionsJson(const std::vector<Session>& sessions);

inline constexpr const char* kSessionCsvHeader =
    "id,time,sample_tag,final_formula,final_grams,factor,row,formula,planned,actual,bottle_id,lot,"
    "as_weighed,fired_grams,before_grams,completeness_pct";
// The header and one line per row of each session (a session without rows
// gets one line with the row fields empty).
std::string sessionsCsv(const std::vector<Session>& sessions);

}  // namespace qv::store
