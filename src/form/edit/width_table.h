#pragma once
// The shared character widths and font metrics. Only data here: the
// widgets measure the fonts and fill these in.

#include <array>
#include <functional>

namespace qv {

// Advance of each one-character text, indexed by character code. Codes 32
// to 126 and the middle dot 0xB7 are filled; '.', '/' and the digits hold
// subscript widths, since counts are drawn in the smaller font. The leading
// count of a hydrate part (the 5 of CuSO4·5H2O) is drawn full size and takes
// the normal font's advances of '.'..'9' from `coefficientWidths`.
struct WidthTable {
    std::array<int, 256> widths{};
    std::array<int, '9' - '.' + 1> coefficientWidths{};

    int widthOf(char c) const { return widths[static_cast<unsigned char>(c)]; }
    int widthOf(char c, bool fullSize) const {
        return fullSize && c >= '.' && c <= '9' ? coefficientWidths[c - '.'] : widthOf(c);
    }
};

// Measures one character in a given font, in pixels.
using MeasureChar = std::function<int(char)>;

// Fills codes 32..126 and 0xB7 from the normal font, then overwrites
// '.'..'9' with the subscript font's widths. Other codes are left as they are.
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
