#pragma once
// Parsing formula texts into trees of groups and element occurrences.

#include <memory>
#include <string_view>
#include <vector>

namespace qv {

class ElementTable;

enum class NodeKind { Group = 0, Element = 1 };

struct FormulaNode {
    NodeKind kind = NodeKind::Group;
    int value = 0;            // Element: element index; Group: number of children
    double multiplier = 1.0;  // the count written after the symbol or ")"
    int depth = 0;
    std::vector<std::unique_ptr<FormulaNode>> children;  // Group only, text order
};

enum ParseResult { ParseOk = 0, ParseUnbalanced = -1, ParseError = -2 };

// 0 on success, -1 unbalanced brackets, -2 any other error, including amounts
// or a molar mass too large for a double. Parts joined by "·", "•" or "*"
// (core/formula_text.h) parse as their bracketed equivalent. On success and when
// `tree` is given, the new root is handed over; on failure nothing is.
int parseFormula(const ElementTable& table, std::string_view text,
                 std::unique_ptr<FormulaNode>* tree = nullptr);

// 0 when the brackets balance, 1 when they do not.
int checkParentheses(std::string_view text);

}  // namespace qv
