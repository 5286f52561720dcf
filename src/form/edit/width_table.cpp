#include "form/edit/width_table.h"

namespace qv {

void fillWidthTable(WidthTable& table, const MeasureChar& normalWidth, const MeasureChar& subscriptWidth) {
    for (int code = 32; code <= 126; ++code) table.widths[code] = normalWidth(static_cast<char>(code));
    // Counts are drawn small: '.', '/' and the digits advance by the
    // subscript font's widths.
    for (int code = '.'; code <= '9'; ++code) table.widths[code] = subscriptWidth(static_cast<char>(code));
}

}  // namespace qv
