#pragma once
// Checking the "Gram" field before an output: the mass of final product to make.

#include <string_view>

namespace qv {

enum class GramCheck { Ok, NotANumber, Zero };

inline constexpr std::string_view kGramNotANumberText =
    "Specify correct weight of the final product in gram.";
inline constexpr std::string_view kGramZeroText = "Specify non-zero weight of the final product.";

// Reads the number at the start of the text (leading white space skipped,
// anything after it ignored, so "10g" is 10). A text that overflows to
// infinity counts as no number. Negative values pass.
GramCheck readOutputGrams(std::string_view text, double& grams);

// The status text for a failed check, empty for Ok.
std::string_view gramCheckMessage(GramCheck check);

}  // namespace qv
