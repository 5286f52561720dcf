#pragma once
// The three shared fonts and the width table measured from them once: the
// main window makes one in its deferred initialisation and hands it to the
// formula edits and the source list. All sizes are device-independent
// pixels, so layouts stay aligned at any screen scaling.

#include <QFont>

#include "form/edit/formula_style.h"
#include "form/edit/width_table.h"

namespace qv {

class Model;

class FormulaFonts {
public:
    // The nearest serif face at 14 and 9 points for formulas, sans serif at
    // 11 points for the list.
    FormulaFonts();
    FormulaFonts(const FormulaFonts&) = delete;
    FormulaFonts& operator=(const FormulaFonts&) = delete;

    const QFont& normalFont() const { return normal_; }
    const QFont& subscriptFont() const { return subscript_; }
    const QFont& listFont() const { return list_; }
    const FontMetrics& normalMetrics() const { return normalMetrics_; }
    const FontMetrics& subscriptMetrics() const { return subscriptMetrics_; }
    const FontMetrics& listMetrics() const { return listMetrics_; }
    const WidthTable& widths() const { return widths_; }
    // The widest advance over printable ASCII in the list font; the face's
    // own maximum spans every glyph it has and is far too wide for columns.
    int listMaxCharWidth() const { return listMaxCharWidth_; }

    // The style of the final compound and the difference formula (window
    // background); the source rows add their own background to it.
    FormulaStyle style() const;
    // Installs the style in the final compound, the difference formula and
    // every source row.
    void applyTo(Model& model) const;

private:
    QFont normal_;
    QFont subscript_;
    QFont list_;
    FontMetrics normalMetrics_;
    FontMetrics subscriptMetrics_;
    FontMetrics listMetrics_;
    WidthTable widths_;
    int listMaxCharWidth_ = 0;
};

}  // namespace qv
