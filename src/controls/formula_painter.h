#pragma once
// Paints a formula entry from the model's drawing plan; the formula edit
// and the source list's rows share it.

class QPainter;
class QPalette;
class QColor;

namespace qv {

class Formula;
class FormulaFonts;

// The colour the entry's background role stands for: its own colour when it
// has one (the source rows), else the palette's base.
QColor backgroundOf(const Formula& entry, const QPalette& palette);

// Draws the text with its x origin shifted by dx - view left and its y by
// dy; with showSelection, the highlight band and the selected glyphs too.
// Text, grey text (the placeholder role: the disabled one is too faint
// for a formula the user is still typing) and highlight come from the palette.
void paintFormula(QPainter& painter, const Formula& entry, const FormulaFonts& fonts, const QPalette& palette,
                  int dx, int dy, bool showSelection);

}  // namespace qv
