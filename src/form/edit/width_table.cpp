#include "form/edit/width_table.h"

namespace qv {

void fillWidthTable(WidthTable& table, const MeasureChar& normalWidth, const MeasureChar& subscriptWidth) {
    for (int code = 32; code <= 126; ++code) table.widths[code] = normalWidth(static_cast<char>(code));
    table.widths[0xB7] = normalWidth('\xB7');
    // Counts are drawn small: '.', '/' and the digits advance by the
    // subscript font's widths, except as a coefficient.
    for (int code = '.'; code <= '9'; ++code) {
        table.coefficientWidths[code - '.'] = table.widths[code];
        table.widths[code] = subscriptWidth(static_cast<char>(code));
    }
}

}  // namespace qv
