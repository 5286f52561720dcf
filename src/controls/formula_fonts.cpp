#include "controls/formula_fonts.h"

#include <QFontMetrics>

#include "form/model.h"

namespace qv {
namespace {

QFont makeFont(const char* family, QFont::StyleHint hint, int points) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint, QFont::PreferQuality);
    font.setPointSize(points);
    return font;
}

FontMetrics metricsOf(const QFont& font) {
    const QFontMetrics m(font);
    return FontMetrics{m.height(), m.ascent(), m.descent()};
}

}  // namespace

// Liberation Serif and Sans have the metrics of the classic office faces.
FormulaFonts::FormulaFonts()
    : normal_(makeFont("Liberation Serif", QFont::Serif, kFormulaPointSize)),
      subscript_(makeFont("Liberation Serif", QFont::Serif, kSubscriptPointSize)),
      list_(makeFont("Liberation Sans", QFont::SansSerif, kListPointSize)),
      normalMetrics_(metricsOf(normal_)),
      subscriptMetrics_(metricsOf(subscript_)),
      listMetrics_(metricsOf(list_)) {
    const QFontMetrics normal(normal_);
    const QFontMetrics subscript(subscript_);
    fillWidthTable(
        widths_, [&](char c) { return normal.horizontalAdvance(QLatin1Char(c)); },
        [&](char c) { return subscript.horizontalAdvance(QLatin1Char(c)); });
    const QFontMetrics list(list_);
    for (int c = 32; c <= 126; ++c)
        listMaxCharWidth_ = std::max(listMaxCharWidth_, list.horizontalAdvance(QLatin1Char(char(c))));
}

FormulaStyle FormulaFonts::style() const {
    return FormulaStyle{&widths_, &normalMetrics_, &subscriptMetrics_, 0, -5, std::nullopt};
}

void FormulaFonts::applyTo(Model& model) const {
    applyStyle(model.finalCompound(), style());
    applyStyle(model.difference(), style());
    for (int row = 0; row < kSourceRows; ++row) copyRowStyle(model.source(row), model.finalCompound());
}

}  // namespace qv
