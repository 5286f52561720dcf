#include "core/formula_parser.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>

#include "core/element_table.h"
#include "core/formula_text.h"
#include "core/number_scan.h"

namespace qv {
namespace {

// Texts from the editor hold at most 480 characters, so real formulas never
// nest this deep; the bound keeps the recursive parse, evaluation and
// destruction off the end of the stack for arbitrary input.
constexpr int kMaxDepth = 1000;

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }

bool addChild(FormulaNode& group, std::unique_ptr<FormulaNode> child) {
    if (group.kind != NodeKind::Group) return false;
    // Room grows ten references at a time.
    if (group.children.size() % 10 == 0) group.children.reserve(group.children.size() + 10);
    group.children.push_back(std::move(child));
    group.value = static_cast<int>(group.children.size());
    return true;
}

std::unique_ptr<FormulaNode> makeNode(NodeKind kind, int value, int depth) {
    auto node = std::make_unique<FormulaNode>();
    node->kind = kind;
    node->value = value;
    node->multiplier = 1.0;
    node->depth = depth;
    return node;
}

// Symbol at pos: one upper-case letter and up to two lower-case ones, taken
// greedily; there is no backtracking to a shorter symbol.
int readElementSymbol(const ElementTable& table, std::string_view text, std::size_t pos, std::size_t& next) {
    std::size_t end = pos + 1;
    while (end < text.size() && end - pos < 3 && isLower(text[end])) ++end;
    const int index = table.findElement(text.substr(pos, end - pos));
    if (index < 0) return -1;
    next = end;
    return index;
}

std::optional<std::size_t> parseSequence(const ElementTable& table, std::string_view text, FormulaNode& group,
                                         std::size_t pos) {
    if (pos >= text.size()) return pos;
    for (;;) {
        const char c = text[pos];
        FormulaNode* added = nullptr;
        if (c == ')') return pos + 1;
        if (c == '(') {
            if (group.depth + 1 > kMaxDepth) return std::nullopt;
            auto child = makeNode(NodeKind::Group, 0, group.depth + 1);
            added = child.get();
            if (!addChild(group, std::move(child))) return std::nullopt;
            const auto after = parseSequence(table, text, *added, pos + 1);
            if (!after) return std::nullopt;
            pos = *after;
        } else {
            if (!isUpper(c)) return std::nullopt;
            std::size_t next = pos;
            const int index = readElementSymbol(table, text, pos, next);
            if (index < 0) return std::nullopt;
            auto child = makeNode(NodeKind::Element, index, group.depth + 1);
            added = child.get();
            if (!addChild(group, std::move(child))) return std::nullopt;
            pos = next;
        }
        double count = 0.0;
        const std::size_t used = scanDecimal(text, pos, count);
        if (used > 0) {
            if (count == HUGE_VAL || count == -HUGE_VAL) return std::nullopt;
            added->multiplier = count;
            pos += used;
        }
        if (pos >= text.size()) return pos;
    }
}

// Parses one part of a hydrate formula: its items go straight
// into the root when it has no leading count and is the first part, else
// into a bracket group carrying the count, as in the bracketed equivalent.
bool parsePart(const ElementTable& table, FormulaNode& root, const FormulaPart& part, bool first) {
    if (part.body.empty() || checkParentheses(part.body) != 0) return false;
    FormulaNode* into = &root;
    if (!first || !part.count.empty()) {
        auto child = makeNode(NodeKind::Group, 0, 1);
        if (!part.count.empty()) {
            const char* end = part.count.data() + part.count.size();
            if (std::from_chars(part.count.data(), end, child->multiplier).ptr != end) return false;
        }
        into = child.get();
        addChild(root, std::move(child));
    }
    return parseSequence(table, part.body, *into, 0).has_value();
}

// Sums the element amounts the way evaluateFormula will: group counts
// multiplied down from the root, repeated elements added in text order.
void sumAmounts(const FormulaNode& group, double scale, std::map<int, double>& acc) {
    for (const auto& child : group.children) {
        const double v = child->multiplier * scale;
        if (child->kind == NodeKind::Group) {
            sumAmounts(*child, v, acc);
        } else {
            auto [it, inserted] = acc.try_emplace(child->value, v);
            if (!inserted) it->second += v;
        }
    }
}

// False when an amount or the molar mass made from them is not finite.
bool finiteAmounts(const ElementTable& table, const FormulaNode& root) {
    std::map<int, double> acc;
    sumAmounts(root, root.multiplier, acc);
    double mass = 0.0;
    for (const auto& [e, amount] : acc) {
        if (!std::isfinite(amount)) return false;
        if (e >= 0 && e < table.count()) mass += table.atomicWeight(e) * amount;
    }
    return std::isfinite(mass);
}

}  // namespace

int checkParentheses(std::string_view text) {
    long open = 0;
    for (const char c : text) {
        if (c == '(') {
            ++open;
        } else if (c == ')') {
            if (--open < 0) return 1;
        }
    }
    return open == 0 ? 0 : 1;
}

int parseFormula(const ElementTable& table, std::string_view text, std::unique_ptr<FormulaNode>* tree) {
    if (checkParentheses(text) != 0) return ParseUnbalanced;
    auto root = makeNode(NodeKind::Group, 0, 0);
    const std::vector<FormulaPart> parts = splitFormulaParts(text);
    if (parts.size() < 2) {
        if (!parseSequence(table, text, *root, 0)) return ParseError;
    } else {
        for (std::size_t i = 0; i < parts.size(); ++i)
            if (!parsePart(table, *root, parts[i], i == 0)) return ParseError;
    }
    // Counts that are finite one by one can still multiply or add up past
    // the largest double; such a formula has no usable composition.
    if (!finiteAmounts(table, *root)) return ParseError;
    if (tree) *tree = std::move(root);
    return ParseOk;
}

}  // namespace qv
