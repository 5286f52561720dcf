#pragma once
// What a formula looks like on screen, without a screen: the selection band
// and every glyph with its position, font and colour. The formula edit and
// the source list paint from this plan, so the drawing rule lives here.
//
// Letters and brackets come first in the normal font on the baseline, then
// the counts (digits, '.', '-') in the subscript font, lowered. A formula
// that does not parse is grey throughout; otherwise selected glyphs take the
// background colour over the highlight band.

#include <optional>
#include <vector>

#include "form/edit/formula_style.h"

namespace qv {

class Formula;

enum class FontRole { Normal, Subscript };

struct PlannedGlyph {
    char ch = 0;
    int x = 0;    // left edge, client pixels
    int top = 0;  // top of the font's cell; the baseline is top + its ascent
    FontRole font = FontRole::Normal;
    ColorRole color = ColorRole::Text;
};

struct Band {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct DrawingPlan {
    std::optional<Band> selection;     // in the highlight colour
    std::vector<PlannedGlyph> glyphs;  // the normal pass, then the subscript pass
};

// The entry's text shifted by (dx - view.left, dy). Only the edit window asks
// for the selection; the band ignores dx and dy, as it is only drawn at 0, 0.
DrawingPlan planFormula(const Formula& f, int dx, int dy, bool showSelection);

// The edit window's 1-pixel caret at the entry's caret position.
Band caretBand(const Formula& f);

}  // namespace qv
