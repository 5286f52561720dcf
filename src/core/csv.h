#pragma once
// RFC 4180 comma-separated values: fields quoted only when they hold a comma,
// a quote or a line break, quotes doubled inside quoted fields.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

using CsvRecord = std::vector<std::string>;

std::string csvField(std::string_view text);
// The fields joined by commas, ended by "\r\n".
std::string csvLine(const CsvRecord& fields);

// Every record of the text; a line break inside a quoted field stays in the
// field, and a last line without its break counts. False, with the line
// number in `error`, for a quote left open or text after a closing quote.
bool parseCsv(std::string_view text, std::vector<CsvRecord>& records, std::string& error);

}  // namespace qv
