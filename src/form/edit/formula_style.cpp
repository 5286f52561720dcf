#include "form/edit/formula_style.h"

#include <algorithm>

#include "form/edit/width_table.h"
#include "form/formula.h"

namespace qv {

VerticalLayout verticalLayout(const FormulaStyle& style) {
    const int normalAscent = style.normalMetrics ? style.normalMetrics->ascent : 0;
    const int normalDescent = style.normalMetrics ? style.normalMetrics->descent : 0;
    const int subscriptAscent = style.subscriptMetrics ? style.subscriptMetrics->ascent : 0;
    VerticalLayout v;
    v.baseline = style.topMargin + normalAscent;
    v.subscriptTop = v.baseline - subscriptAscent - style.subscriptDrop;
    v.caretTop = style.topMargin;
    v.caretBottom = v.baseline + std::max(normalDescent, -style.subscriptDrop);
    return v;
}

void applyStyle(Formula& f, const FormulaStyle& style) { f.setStyle(style); }

void copyRowStyle(Formula& row, const Formula& finalCompound) {
    FormulaStyle style = finalCompound.style();
    style.background = kSourceRowBackground;
    applyStyle(row, style);
}

}  // namespace qv
