#include "core/formula_text.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/composition.h"
#include "core/element_table.h"
#include "core/formula_parser.h"

namespace qv {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

std::size_t digitsAt(std::string_view text, std::size_t pos) {
    std::size_t i = pos;
    while (i < text.size() && isDigit(text[i])) ++i;
    return i - pos;
}

// Digits with an optional point and fraction at the start of a part.
std::size_t leadingCountLength(std::string_view part) {
    std::size_t n = digitsAt(part, 0);
    if (n == 0) return 0;
    if (n < part.size() && part[n] == '.') n += 1 + digitsAt(part, n + 1);
    return n;
}

std::optional<Composition> compositionOf(const ElementTable& table, std::string_view text) {
    std::unique_ptr<FormulaNode> tree;
    if (parseFormula(table, text, &tree) != ParseOk) return std::nullopt;
    Composition c;
    if (evaluateFormula(1.0, tree.get(), c) != 0) return std::nullopt;
    return c;
}

}  // namespace

std::size_t separatorAt(std::string_view text, std::size_t pos) {
    const std::string_view rest = text.substr(std::min(pos, text.size()));
    if (rest.empty()) return 0;
    if (rest[0] == '*' || rest[0] == kMiddleDotByte) return 1;
    if (rest.substr(0, 2) == "\xC2\xB7") return 2;
    if (rest.substr(0, 3) == "\xE2\x80\xA2") return 3;
    return 0;
}

std::size_t editorCharAt(std::string_view text, std::size_t pos, char& out) {
    const std::string_view rest = text.substr(pos);
    if (rest.substr(0, 2) == "\xC2\xB7") {
        out = kMiddleDotByte;
        return 2;
    }
    if (rest.substr(0, 3) == "\xE2\x80\xA2") {
        out = kMiddleDotByte;
        return 3;
    }
    out = rest[0] == '\x95' ? kMiddleDotByte : rest[0];
    return 1;
}

std::string editorTextToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == kMiddleDotByte)
            out += "\xC2\xB7";
        else
            out += c;
    }
    return out;
}

std::vector<FormulaPart> splitFormulaParts(std::string_view text) {
    std::vector<FormulaPart> parts;
    std::size_t start = 0;
    bool separated = false;
    for (std::size_t i = 0; i <= text.size();) {
        const std::size_t sep = i < text.size() ? separatorAt(text, i) : 0;
        if (i < text.size() && sep == 0) {
            ++i;
            continue;
        }
        parts.push_back({{}, text.substr(start, i - start)});
        if (i == text.size()) break;
        separated = true;
        i += sep;
        start = i;
    }
    if (separated) {
        for (FormulaPart& p : parts) {
            const std::size_t n = leadingCountLength(p.body);
            p.count = p.body.substr(0, n);
            p.body.remove_prefix(n);
        }
    }
    return parts;
}

std::string bracketedFormula(std::string_view text) {
    const std::vector<FormulaPart> parts = splitFormulaParts(text);
    if (parts.size() < 2) return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const FormulaPart& p = parts[i];
        if (p.body.empty()) return std::string(text);
        if (i == 0 && p.count.empty()) {
            out += p.body;
        } else {
            out += '(';
            out += p.body;
            out += ')';
            out += p.count;
        }
    }
    return out;
}

std::vector<FormulaRun> formulaRuns(std::string_view text) {
    bool separated = false;
    for (std::size_t i = 0; i < text.size() && !separated; ++i) separated = separatorAt(text, i) > 0;
    std::vector<FormulaRun> runs;
    bool partStart = separated;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t sep = separatorAt(text, i);
        const std::size_t n = sep > 0 ? sep : 1;
        const char c = text[i];
        const bool count = isDigit(c) || c == '.';
        const bool full = sep > 0 || isUpper(c) || isLower(c) || c == '(' || c == ')' || (count && partStart);
        partStart = sep > 0 || (partStart && count);
        if (!runs.empty() && runs.back().fullSize == full)
            runs.back().text =
                text.substr(runs.back().text.data() - text.data(), runs.back().text.size() + n);
        else
            runs.push_back({text.substr(i, n), full});
        i += n;
    }
    return runs;
}

bool sameComposition(const ElementTable& table, std::string_view a, std::string_view b) {
    const std::optional<Composition> ca = compositionOf(table, a);
    const std::optional<Composition> cb = compositionOf(table, b);
    if (!ca || !cb) return false;
    auto amount = [](const Composition& c, int e) {
        const auto it = c.find(e);
        return it == c.end() ? 0.0 : it->second;
    };
    auto agrees = [&](const Composition& from) {
        for (const auto& [e, unused] : from) {
            (void)unused;
            const double x = amount(*ca, e);
            const double y = amount(*cb, e);
            if (std::fabs(x - y) > 1e-9 * std::max({1.0, std::fabs(x), std::fabs(y)})) return false;
        }
        return true;
    };
    return agrees(*ca) && agrees(*cb);
}

std::optional<std::string> decimalTrapHint(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char before = text[i - 1];
        if (!isDigit(text[i]) || !(isUpper(before) || isLower(before) || before == ')')) continue;
        const std::size_t whole = digitsAt(text, i);
        const std::size_t point = i + whole;
        if (point >= text.size() || text[point] != '.') continue;
        const std::size_t fraction = digitsAt(text, point + 1);
        const std::size_t water = point + 1 + fraction;
        std::string_view group = text.substr(water);
        const std::string_view waterForm = group.substr(0, 5) == "(H2O)" ? "(H2O)" : "H2O";
        if (group.substr(0, waterForm.size()) != waterForm) continue;
        group.remove_prefix(waterForm.size());
        if (!group.empty() && (isDigit(group[0]) || isLower(group[0]) || group[0] == '.')) continue;
        if (text.substr(i, whole).find_first_not_of('0') == std::string_view::npos) continue;

        const std::string typed = editorTextToUtf8(text);
        const std::string head = editorTextToUtf8(text.substr(0, point + 1 + fraction));
        const std::string tail = editorTextToUtf8(text.substr(water));
        const std::string count(text.substr(i, point + 1 + fraction - i));
        const std::string start = editorTextToUtf8(text.substr(0, point));
        const std::string leading(text.substr(point + 1, fraction));
        return typed + " is read as " + head + " + " + tail + ": \"" + count +
               "\" is one decimal count. For the hydrate write " + start + "\xC2\xB7" + leading + tail +
               " (or " + start + "*" + leading + tail + ").";
    }
    return std::nullopt;
}

}  // namespace qv
