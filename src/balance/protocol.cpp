#include "balance/protocol.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "core/number_scan.h"

namespace qv::balance {

namespace {

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isCSpace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && isCSpace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// The line as the user may see it: printable ASCII, at most 40 characters.
std::string shown(std::string_view line) {
    std::string text;
    for (const char c : line.substr(0, 40)) {
        const auto u = static_cast<unsigned char>(c);
        text += u >= 32 && u < 127 ? c : '?';
    }
    return line.size() > 40 ? text + "..." : text;
}

Reading garbage(std::string_view line) {
    return {ReadingKind::Garbage, 0.0,
            "The balance answered \"" + shown(line) + "\", which is not a weight."};
}

Reading message(ReadingKind kind, std::string text) { return {kind, 0.0, std::move(text)}; }

// A value and its unit into a reading; `stable` as the protocol says.
Reading weight(double value, std::string_view unit, bool stable) {
    if (unit.empty()) return {ReadingKind::Unstable, value, "The balance has not settled yet."};
    const double factor = unitToGrams(unit);
    if (factor == 0.0)
        return message(ReadingKind::Error,
                       "The balance weighs in \"" + shown(unit) + "\"; set it to g, mg or kg.");
    if (!stable) return {ReadingKind::Unstable, value * factor, "The balance has not settled yet."};
    return {ReadingKind::Stable, value * factor, {}};
}

bool number(std::string_view text, double& value) {
    const std::size_t used = scanDecimal(text, 0, value);
    return used == text.size() && used > 0 && std::isfinite(value);
}

Reading parseMtSics(std::string_view line) {
    const std::vector<std::string_view> w = words(line);
    if (w.empty()) return garbage(line);
    if (w[0] == "ES") return message(ReadingKind::Error, "The balance did not understand the command (ES).");
    if (w[0] == "ET") return message(ReadingKind::Error, "The balance reports a transmission error (ET).");
    if (w[0] == "EL") return message(ReadingKind::Error, "The balance cannot carry out the command (EL).");
    if ((w[0] != "S" && w[0] != "SI") || w.size() < 2) return garbage(line);
    const std::string_view status = w[1];
    if (w.size() == 2) {
        if (status == "I") return message(ReadingKind::Busy, "The balance is busy; read it again.");
        if (status == "+") return message(ReadingKind::Overload, "The balance is overloaded.");
        if (status == "-") return message(ReadingKind::Underload, "The balance is underloaded.");
        return garbage(line);
    }
    double value = 0.0;
    if ((status != "S" && status != "D") || w.size() != 4 || !number(w[2], value)) return garbage(line);
    return weight(value, w[3], status == "S");
}

Reading parseLine(std::string_view line) {
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 && c != '\t') return garbage(line);
    }
    // The header runs up to the sign or the first digit.
    std::size_t p = line.find_first_of("+-0123456789.");
    const std::string_view header = line.substr(0, std::min(p, line.size()));
    for (const std::string_view h : words(header)) {
        if (h.rfind("OL", 0) == 0) return message(ReadingKind::Overload, "The balance is overloaded.");
    }
    if (p == std::string_view::npos) return garbage(line);
    for (const char c : header) {
        if (!std::isalpha(static_cast<unsigned char>(c)) && c != ',' && c != ' ' && c != '\t')
            return garbage(line);
    }
    bool negative = false;
    if (line[p] == '+' || line[p] == '-') {
        negative = line[p] == '-';
        ++p;
        while (p < line.size() && line[p] == ' ') ++p;
    }
    std::size_t end = p;
    while (end < line.size() && (std::isdigit(static_cast<unsigned char>(line[end])) || line[end] == '.'))
        ++end;
    double value = 0.0;
    if (!number(line.substr(p, end - p), value)) return garbage(line);
    if (negative) value = -value;
    const std::vector<std::string_view> rest = words(line.substr(end));
    bool stable = header.find("US") == std::string_view::npos;
    std::string_view unit;
    for (const std::string_view r : rest) {
        if (r == "?") {
            stable = false;
        } else if (unit.empty()) {
            unit = r;
        } else {
            return garbage(line);
        }
    }
    for (const char c : unit) {
        if (!std::isalpha(static_cast<unsigned char>(c))) return garbage(line);
    }
    return weight(value, unit, stable);
}

}  // namespace

std::string_view requestCommand(Protocol protocol) {
    // MT-SICS: the weight at once, settled or not. Print on request: ESC P.
    return protocol == Protocol::MtSics ? std::string_view("SI\r\n") : std::string_view("\x1bP\r\n");
}

Reading parseReading(Protocol protocol, std::string_view line) {
    line = trimmed(line);
    return protocol == Protocol::MtSics ? parseMtSics(line) : parseLine(line);
}

double unitToGrams(std::string_view unit) {
    if (unit == "g") return 1.0;
    if (unit == "mg") return 0.001;
    if (unit == "kg") return 1000.0;
    return 0.0;
}

}  // namespace qv::balance
