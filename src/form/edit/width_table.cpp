#include "form/edit/width_table.h"

#include "form/formula.h"

namespace qv {

void fillWidthTable(WidthTable& table, const MeasureChar& normalWidth,
                    const MeasureChar& subscriptWidth) {
    for (int code = 32; code <= 126; ++code)
        table.widths[code] = normalWidth(static_cast<char>(code));
    // Counts are drawn small: '.', '/' and the digits advance by the
    // subscript font's widths.
    for (int code = '.'; code <= '9'; ++code)
        table.widths[code] = subscriptWidth(static_cast<char>(code));
}

void applyStyle(Formula& f, const FormulaStyle& style) {
    f.widthTable = style.widthTable;
    f.normalMetrics = style.normalMetrics;
    f.subscriptMetrics = style.subscriptMetrics;
    f.topMargin = style.topMargin;
    f.subscriptDrop = style.subscriptDrop;
}

void copyStyle(Formula& to, const Formula& from) {
    applyStyle(to, FormulaStyle{from.widthTable, from.normalMetrics, from.subscriptMetrics,
                                from.topMargin, from.subscriptDrop});
}

}  // namespace qv
