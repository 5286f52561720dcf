#include "core/formula_match.h"

#include <cmath>
#include <memory>

#include "core/formula_parser.h"

namespace qv {

std::optional<Composition> formulaComposition(const ElementTable& table, std::string_view text) {
    std::unique_ptr<FormulaNode> tree;
    if (text.empty() || parseFormula(table, text, &tree) != ParseOk || !tree) return std::nullopt;
    Composition c;
    if (evaluateFormula(1.0, tree.get(), c) != 0 || c.empty()) return std::nullopt;
    return c;
}

bool sameComposition(const Composition& a, const Composition& b) {
    const auto amount = [](const Composition& c, int element) {
        const auto it = c.find(element);
        return it == c.end() ? 0.0 : it->second;
    };
    for (const auto& [element, value] : a)
        if (std::fabs(value - amount(b, element)) >= kZeroTolerance) return false;
    for (const auto& [element, value] : b)
        if (std::fabs(value - amount(a, element)) >= kZeroTolerance) return false;
    return true;
}

}  // namespace qv
