#pragma once
// The shared character widths and the drawing style that formula entries
// carry. Only data here: the widgets measure the fonts and fill these in.

#include <array>
#include <cstdint>
#include <functional>

namespace qv {

struct Formula;

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
void fillWidthTable(WidthTable& table, const MeasureChar& normalWidth,
                    const MeasureChar& subscriptWidth);

// The parts of a font's text metrics that layout needs.
struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
};

inline constexpr int kFormulaPointSize = 14;
inline constexpr int kSubscriptPointSize = 9;
inline constexpr int kListPointSize = 11;

// Background of the thirty source rows, 0xRRGGBB.
inline constexpr std::uint32_t kSourceRowBackground = 0xFEFBD1;

// The style every formula entry gets before it is bound to an editor.
// The tables and metrics are shared and must outlive the entries.
struct FormulaStyle {
    const WidthTable* widthTable = nullptr;
    const FontMetrics* normalMetrics = nullptr;
    const FontMetrics* subscriptMetrics = nullptr;
    int topMargin = 0;
    int subscriptDrop = -5;  // counts sit 5 pixels below the baseline
};

void applyStyle(Formula& f, const FormulaStyle& style);
// The source rows take the final compound's style.
void copyStyle(Formula& to, const Formula& from);

}  // namespace qv
