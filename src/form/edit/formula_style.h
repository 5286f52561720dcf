#pragma once
// How a formula entry is drawn: the shared fonts' metrics, the lowering of
// counts and the entry's background. Text, grey text and the selection
// highlight are roles the window fills from its palette; the background is
// a role too unless the entry brings its own colour (the source rows).

#include <cstdint>
#include <optional>

namespace qv {

class Formula;
struct FontMetrics;
struct WidthTable;

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Background of the thirty source rows.
inline constexpr Rgb kSourceRowBackground{254, 251, 209};

enum class ColorRole {
    Text,        // window text
    GreyText,    // a formula that does not parse
    Background,  // the entry's background: selected text is drawn in it
    Highlight,   // the selection band
};

// The style every formula entry gets before it is bound to an editor.
// The tables and metrics are shared and must outlive the entries.
struct FormulaStyle {
    const WidthTable* widthTable = nullptr;
    const FontMetrics* normalMetrics = nullptr;
    const FontMetrics* subscriptMetrics = nullptr;
    int topMargin = 0;
    int subscriptDrop = -5;         // counts sit 5 pixels below the baseline
    std::optional<Rgb> background;  // none: the window's background role
};

// Vertical positions in the editor, from the style alone.
struct VerticalLayout {
    int baseline = 0;      // of the normal font
    int subscriptTop = 0;  // top of a count: its baseline lies -subscriptDrop lower
    int caretTop = 0;
    int caretBottom = 0;  // reaches below the lowered counts
};
VerticalLayout verticalLayout(const FormulaStyle& style);

// Installs the style; the entry's buffer lays out with its width table.
void applyStyle(Formula& f, const FormulaStyle& style);
// The source rows take the final compound's style and their own background.
void copyRowStyle(Formula& row, const Formula& finalCompound);

}  // namespace qv
