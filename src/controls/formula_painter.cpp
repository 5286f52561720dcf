#include "controls/formula_painter.h"

#include <optional>

#include <QPainter>
#include <QPalette>

#include "controls/formula_fonts.h"
#include "form/edit/drawing_plan.h"
#include "form/formula.h"

namespace qv {

QColor backgroundOf(const Formula& entry, const QPalette& palette) {
    if (const auto& rgb = entry.style().background) return QColor(rgb->r, rgb->g, rgb->b);
    return palette.color(QPalette::Base);
}

void paintFormula(QPainter& painter, const Formula& entry, const FormulaFonts& fonts, const QPalette& palette,
                  int dx, int dy, bool showSelection) {
    const DrawingPlan plan = planFormula(entry, dx, dy, showSelection);
    if (plan.selection) {
        const Band& b = *plan.selection;
        painter.fillRect(QRect(b.left, b.top, b.right - b.left, b.bottom - b.top),
                         palette.color(QPalette::Highlight));
    }
    const QColor colors[] = {palette.color(QPalette::Text), palette.color(QPalette::PlaceholderText),
                             backgroundOf(entry, palette)};
    const auto colorOf = [&](ColorRole role) {
        switch (role) {
        case ColorRole::GreyText: return colors[1];
        case ColorRole::Background: return colors[2];
        default: return colors[0];
        }
    };
    painter.save();
    std::optional<FontRole> font;
    for (const PlannedGlyph& g : plan.glyphs) {
        if (g.font != font) {
            font = g.font;
            painter.setFont(g.font == FontRole::Normal ? fonts.normalFont() : fonts.subscriptFont());
        }
        const int ascent =
            g.font == FontRole::Normal ? fonts.normalMetrics().ascent : fonts.subscriptMetrics().ascent;
        painter.setPen(colorOf(g.color));
        painter.drawText(QPoint(g.x, g.top + ascent), QString(QLatin1Char(g.ch)));
    }
    painter.restore();
}

}  // namespace qv
