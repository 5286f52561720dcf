#pragma once
// Whether two formula texts name the same compound: same elements in the same
// amounts, however they are written (TiO2 and O2Ti, CuSO4(H2O)5 and its
// hydrate notation).

#include <optional>
#include <string_view>

#include "core/composition.h"

namespace qv {

class ElementTable;

// The composition of a formula text, or nothing when it does not parse or
// holds no element.
std::optional<Composition> formulaComposition(const ElementTable& table, std::string_view text);

// Same elements, amounts equal within the zero tolerance.
bool sameComposition(const Composition& a, const Composition& b);

}  // namespace qv
