#include "core/csv.h"

namespace qv {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string csvLine(const CsvRecord& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += csvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

bool parseCsv(std::string_view text, std::vector<CsvRecord>& records, std::string& error) {
    records.clear();
    CsvRecord record;
    std::string field;
    int line = 1;
    std::size_t i = 0;
    bool fieldStarted = false;
    const auto endRecord = [&] {
        record.push_back(std::move(field));
        field.clear();
        records.push_back(std::move(record));
        record.clear();
        fieldStarted = false;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && !fieldStarted && field.empty()) {
            const int opened = line;
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    error = "line " + std::to_string(opened) + ": a quoted field is not closed";
                    return false;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n') ++line;
                field += text[i++];
            }
            fieldStarted = true;
            if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                error = "line " + std::to_string(line) + ": text after a closing quote";
                return false;
            }
            continue;
        }
        if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
            ++i;
        } else if (c == '\r' || c == '\n') {
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++line;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
            ++i;
        }
    }
    if (fieldStarted || !record.empty()) endRecord();
    return true;
}

}  // namespace qv
