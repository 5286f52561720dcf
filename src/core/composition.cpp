#include "core/composition.h"

#include <cmath>

#include "core/element_table.h"
#include "core/formula_parser.h"
#include "core/number_format.h"

namespace qv {
namespace {

// Moves every group's multiplier into its children, so that each element node
// carries the product along its path and a second evaluation changes nothing.
void propagateMultipliers(FormulaNode& group) {
    const double g = group.multiplier;
    group.multiplier = 1.0;
    for (auto& child : group.children) {
        child->multiplier *= g;
        if (child->kind == NodeKind::Group) propagateMultipliers(*child);
    }
}

bool accumulateElements(const FormulaNode& group, Composition& acc) {
    if (group.multiplier != 1.0) return false;
    for (const auto& child : group.children) {
        if (child->kind == NodeKind::Element) {
            auto [it, inserted] = acc.try_emplace(child->value, child->multiplier);
            if (!inserted) it->second += child->multiplier;
        } else if (!accumulateElements(*child, acc)) {
            return false;
        }
    }
    return true;
}

bool validIndex(const ElementTable& table, int e) { return e >= 0 && e < table.count(); }

}  // namespace

int evaluateFormula(double multiplier, FormulaNode* tree, Composition& out) {
    out.clear();
    if (!tree || tree->kind != NodeKind::Group) return 1;
    propagateMultipliers(*tree);
    Composition acc;
    if (!accumulateElements(*tree, acc)) return 1;
    for (const auto& [e, amount] : acc) out.emplace_hint(out.end(), e, amount * multiplier);
    return 0;
}

void scaleComposition(Composition& dst, const Composition& src, double k) {
    if (&dst == &src) {
        for (auto& [e, amount] : dst) amount *= k;
        return;
    }
    dst.clear();
    for (const auto& [e, amount] : src) dst.emplace_hint(dst.end(), e, amount * k);
}

void addScaled(Composition& dst, const Composition& src, double k) {
    const Composition copy = &dst == &src ? src : Composition{};
    const Composition& from = &dst == &src ? copy : src;
    for (const auto& [e, amount] : from) {
        auto [it, inserted] = dst.try_emplace(e, amount * k);
        if (!inserted) it->second = amount * k + it->second;
    }
}

void subtractComposition(Composition& dst, const Composition& src) {
    if (&dst == &src) {
        for (auto& [e, amount] : dst) amount -= amount;
        return;
    }
    for (const auto& [e, amount] : src) {
        auto [it, inserted] = dst.try_emplace(e, -amount);
        if (!inserted) it->second = it->second - amount;
    }
}

void subtractScaled(Composition& dst, const Composition& src, double k) {
    const Composition copy = &dst == &src ? src : Composition{};
    const Composition& from = &dst == &src ? copy : src;
    for (const auto& [e, amount] : from) {
        auto [it, inserted] = dst.try_emplace(e, -(amount * k));
        if (!inserted) it->second = it->second - amount * k;
    }
}

void projectOnIncluded(Composition& dst, const std::map<int, int>& keys, const ElementTable& table,
                       const Composition& src, double k) {
    Composition result;
    for (const auto& [e, uses] : keys) {
        (void)uses;
        if (!validIndex(table, e) || !table.included(e)) continue;
        const auto it = src.find(e);
        result.emplace_hint(result.end(), e, it != src.end() ? it->second * k : 0.0);
    }
    dst = std::move(result);  // built aside, so dst may be src
}

std::string compositionText(const ElementTable& table, const Composition& c) {
    std::string text;
    for (const auto& [e, amount] : c) {
        if (std::fabs(amount) < kZeroTolerance || !validIndex(table, e)) continue;
        text += table.symbol(e);
        if (std::fabs(amount - 1.0) >= kZeroTolerance) text += formatDecimal(amount, 6);
    }
    return text;
}

double compositionMass(const ElementTable& table, const Composition& c) {
    double mass = 0.0;
    for (const auto& [e, amount] : c) {
        if (validIndex(table, e)) mass += table.atomicWeight(e) * amount;
    }
    return mass;
}

}  // namespace qv
