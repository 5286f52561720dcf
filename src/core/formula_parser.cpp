#include "core/formula_parser.h"

#include <cmath>
#include <optional>

#include "core/element_table.h"
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
    if (!parseSequence(table, text, *root, 0)) return ParseError;
    if (tree) *tree = std::move(root);
    return ParseOk;
}

}  // namespace qv
