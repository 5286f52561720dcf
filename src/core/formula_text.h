#pragma once
// Formula texts as chemists write them: hydrates and adducts joined by "·",
// "•" or "*" (CuSO4·5H2O), each part with an optional leading count.
//
// Formula texts travel as UTF-8. The editor holds "·" as the one byte 0xB7
// (its Windows-1252 and Latin-1 code), so one character stays one cell and
// the editor's character limit still counts characters.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class ElementTable;

// "·" as the editor's cells hold it.
inline constexpr char kMiddleDotByte = '\xB7';

// Length in bytes of the part separator starting at pos: "*", "·" (UTF-8 or
// the single byte 0xB7) or "•" (UTF-8); 0 when there is none.
std::size_t separatorAt(std::string_view text, std::size_t pos);

// One part of a formula: its leading count as written (may be empty) and
// the formula after it.
struct FormulaPart {
    std::string_view count;
    std::string_view body;
};

// The parts between separators. A text without separators is one part and
// never has a leading count (2H2O stays what it was); with separators every
// part may start with digits and an optional point and fraction.
std::vector<FormulaPart> splitFormulaParts(std::string_view text);

// One character of typed or pasted text as the editor stores it: "·" and
// "•" (UTF-8, or the Windows-1252 bytes 0xB7 and 0x95) become kMiddleDotByte;
// any other byte is itself. Answers the bytes consumed (at least 1).
std::size_t editorCharAt(std::string_view text, std::size_t pos, char& out);

// The editor's single-byte text in UTF-8 (only 0xB7 changes).
std::string editorTextToUtf8(std::string_view text);

// The same formula with every part after the first in brackets and its
// leading count after them: CuSO4·5H2O gives CuSO4(H2O)5, 2A·B gives
// (A)2(B). Older readers parse it to the same composition. A text without
// separators, or whose parts cannot be split, comes back unchanged.
std::string bracketedFormula(std::string_view text);

// The text cut into runs drawn alike: full size (letters, brackets,
// separators and a part's leading count) or lowered and smaller (counts).
struct FormulaRun {
    std::string_view text;
    bool fullSize = true;
};
std::vector<FormulaRun> formulaRuns(std::string_view text);

// Both texts are valid formulas with the same elements and amounts (within
// a relative 1e-9), whatever their notation.
bool sameComposition(const ElementTable& table, std::string_view a, std::string_view b);

// Where a decimal count runs into a water group (CuSO4.5H2O), what the text
// means and how to write the hydrate; none for every other text.
std::optional<std::string> decimalTrapHint(std::string_view text);

}  // namespace qv
