// STUB (local only)
#include "controls/formula_fonts.h"
#include <QFontMetrics>
#include <QPainter>
#include "form/model.h"
#include "form/edit/formula_style.h"
namespace qv {
static FontMetrics metricsOf(const QFont& f) { QFontMetrics m(f); return {m.height(), m.ascent(), m.descent()}; }
FormulaFonts::FormulaFonts() : normal_("Liberation Serif"), sub_("Liberation Serif"), list_("Liberation Sans") {
 normal_.setPointSize(14); sub_.setPointSize(9); list_.setPointSize(11);
 normalM_=metricsOf(normal_); subM_=metricsOf(sub_); listM_=metricsOf(list_);
 QFontMetrics n(normal_), s(sub_);
 fillWidthTable(table_, [&](char c){ return n.horizontalAdvance(QChar(c)); }, [&](char c){ return s.horizontalAdvance(QChar(c)); }); }
int FormulaFonts::listCharWidth() const { QFontMetrics m(list_); int w=0; for (int c=32;c<127;++c) w=std::max(w, m.horizontalAdvance(QChar(c))); return w; }
int FormulaFonts::caretBottom() const { return normalM_.ascent + std::max(normalM_.descent, 5); }
void FormulaFonts::styleEntries(Model& m) const { FormulaStyle st; st.widthTable=&table_; st.normalMetrics=&normalM_; st.subscriptMetrics=&subM_; applyStyle(m.finalCompound, st); for (auto& e : m.sources) copyRowStyle(*e, m.finalCompound); }
}
