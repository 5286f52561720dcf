#pragma once
// The shared character widths and font metrics. Only data here: the
// widgets measure the fonts and fill these in.

#include <array>
#include <functional>

namespace qv {

// Advance of each one-character text, indexed by character code. Codes 32
// to 126 are filled; '.', '/' and the digits hold subscript widths, since
// counts are drawn in the smaller font.
struct WidthTable {
    std::array<int, 128> widths{};

    int widthOf(char c) const {
        auto code = static_cast<unsigned char>(c);
        return code < widths.size() ? widths[code] : 0;
    }
};

// Measures one character in a given font, in pixels.
using MeasureChar = std::function<int(char)>;

// Fills codes 32..126 from the normal font, then overwrites '.'..'9' with
// the subscript font's widths. Other codes are left as they are.
void fillWidthTable(WidthTable& table, const MeasureChar& normalWidth, const MeasureChar& subscriptWidth);

// The parts of a font's text metrics that layout needs.
struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
};

inline constexpr int kFormulaPointSize = 14;
inline constexpr int kSubscriptPointSize = 9;
inline constexpr int kListPointSize = 11;

}  // namespace qv
