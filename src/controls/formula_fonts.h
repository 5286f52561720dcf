#pragma once
// STUB (local only)
#include <QFont>
#include <QPoint>
#include "form/edit/width_table.h"
class QPainter;
namespace qv { class Model; struct Formula;
class FormulaFonts { public: FormulaFonts(); QFont listFont() const { return list_; } int listCharWidth() const; int caretBottom() const; const FontMetrics& listMetrics() const { return listM_; }
void styleEntries(Model&) const; const QFont& font(int role) const { return role ? sub_ : normal_; }
QFont normal_, sub_, list_; FontMetrics normalM_, subM_, listM_; WidthTable table_; };
}
