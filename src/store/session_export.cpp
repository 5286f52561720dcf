#include "store/session_export.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "core/csv.h"
#include "core/number_format.h"

namespace qv::store {

namespace {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string number(double v) { return std::isfinite(v) ? formatShortest(v) : "null"; }

template <typename T>
std::string orNull(const std::optional<T>& v) {
    if (!v) return "null";
    if constexpr (std::is_same_v<T, double>)
        return number(*v);
    else
        return std::to_string(*v);
}

std::string csvNumber(const std::optional<double>& v) { return v ? number(*v) : std::string(); }

}  // namespace

std::string sessionJson(const Session& s) {
    std::string rows;
    for (const SessionRow& r : s.rows) {
        if (!rows.empty()) rows += ',';
        rows += "{\"row\":" + std::to_string(r.row) + ",\"formula\":" + jsonString(r.formula) +
                ",\"planned\":" + number(r.planned) + ",\"actual\":" + orNull(r.actual) +
                ",\"bottle_id\":" + orNull(r.bottleId) + ",\"lot\":" + jsonString(r.lot) + "}";
    }
    return "{\"id\":" + std::to_string(s.id) + ",\"time\":" + jsonString(s.time) +
           ",\"sample_tag\":" + jsonString(s.sampleTag) + ",\"final_formula\":" + jsonString(s.finalFormula) +
           ",\"final_grams\":" + number(s.finalGrams) + ",\"factor\":" + number(s.factor) + ",\"rows\":[" +
           rows + "],\"as_weighed\":" + (s.asWeighed ? *s.asWeighed : "null") +
           ",\"fired_grams\":" + orNull(s.firedGrams) + ",\"before_grams\":" + orNull(s.beforeGrams) +
           ",\"completeness_pct\":" + orNull(s.completenessPct) + "}";
}

std::string sessionsJson(const std::vector<Session>& sessions) {
    std::string out = "[";
    for (std::size_t i = 0; i < sessions.size(); ++i) out += (i ? ",\n" : "\n") + sessionJson(sessions[i]);
    return out + "\n]\n";
}

std::string sessionsCsv(const std::vector<Session>& sessions) {
    std::string out = std::string(kSessionCsvHeader) + "\r\n";
    for (const Session& s : sessions) {
        const auto line = [&](const SessionRow* r) {
            out += csvLine({std::to_string(s.id), s.time, s.sampleTag, s.finalFormula, number(s.finalGrams),
                            number(s.factor), r ? std::to_string(r->row) : "", r ? r->formula : "",
                            r ? number(r->planned) : "", r ? csvNumber(r->actual) : "",
                            r && r->bottleId ? std::to_string(*r->bottleId) : "", r ? r->lot : "",
                            s.asWeighed.value_or(""), csvNumber(s.firedGrams), csvNumber(s.beforeGrams),
                            csvNumber(s.completenessPct)});
        };
        if (s.rows.empty()) line(nullptr);
        for (const SessionRow& r : s.rows) line(&r);
    }
    return out;
}

}  // namespace qv::store
