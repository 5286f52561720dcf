#pragma once
// Moles of each element's atoms per formula unit, in element-file order.

#include <map>
#include <string>

namespace qv {

class ElementTable;
struct FormulaNode;

using Composition = std::map<int, double>;  // element index -> amount

// Amounts, ratios, residuals and masses below this count as zero.
inline constexpr double kZeroTolerance = 5e-7;

// 0 on success, 1 on failure (out left empty). Pushes group multipliers down
// into the tree, so evaluating the same tree again gives the same result.
int evaluateFormula(double multiplier, FormulaNode* tree, Composition& out);

void scaleComposition(Composition& dst, const Composition& src, double k);
void addScaled(Composition& dst, const Composition& src, double k);
void subtractComposition(Composition& dst, const Composition& src);
void subtractScaled(Composition& dst, const Composition& src, double k);
// dst := src * k restricted to the included elements among the keys of `keys`.
void projectOnIncluded(Composition& dst, const std::map<int, int>& keys, const ElementTable& table,
                       const Composition& src, double k);

std::string compositionText(const ElementTable& table, const Composition& c);
double compositionMass(const ElementTable& table, const Composition& c);

}  // namespace qv
