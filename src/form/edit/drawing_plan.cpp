#include "form/edit/drawing_plan.h"

#include "form/formula.h"

namespace qv {

DrawingPlan planFormula(const Formula& f, int dx, int dy, bool showSelection) {
    const EditBuffer& b = f.edit();
    const VerticalLayout v = verticalLayout(f.style());
    const int lo = b.selectionStart();
    const int hi = b.selectionEnd();
    const bool selecting = showSelection && lo != hi;

    DrawingPlan plan;
    if (selecting)
        plan.selection =
            Band{xOfIndex(b, lo) - b.view().left, v.caretTop, xOfIndex(b, hi) - b.view().left, v.caretBottom};
    plan.glyphs.reserve(static_cast<std::size_t>(b.length()));
    for (const FontRole font : {FontRole::Normal, FontRole::Subscript}) {
        const bool fullSize = font == FontRole::Normal;
        const int top = (fullSize ? f.style().topMargin : v.subscriptTop) + dy;
        for (int i = 0; i < b.length(); ++i) {
            const GlyphCell& cell = b.cells()[i];
            if ((cell.fullSize != 0) != fullSize) continue;
            const bool selected = selecting && lo <= i && i < hi;
            const ColorRole color = !f.valid() ? ColorRole::GreyText
                                    : selected ? ColorRole::Background
                                               : ColorRole::Text;
            plan.glyphs.push_back({cell.ch, cell.x - b.view().left + dx, top, font, color});
        }
    }
    return plan;
}

Band caretBand(const Formula& f) {
    const VerticalLayout v = verticalLayout(f.style());
    const int x = xOfIndex(f.edit(), f.edit().caret()) - f.edit().view().left;
    return Band{x, v.caretTop, x + 1, v.caretBottom};
}

}  // namespace qv
