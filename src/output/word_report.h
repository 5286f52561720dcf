#pragma once
// The weighing report typed into a word-processor document through the
// automation model of output/word_automation.h, formulas with their counts as
// subscripts. The window's Output command and quorvex-cli share it.

#include <string>
#include <string_view>

#include "output/corrections.h"

namespace qv {

class Model;
class WordFont;
class WordOffice;
class WordSelection;

inline constexpr std::string_view kWordFailedText = "Output to MS Word failed!";
inline constexpr std::string_view kWordFailedCaption = "Quorvex I/O Error";
inline constexpr std::string_view kWordFontName = "Times New Roman";
inline constexpr float kWordFontSize = 13.0f;

enum class WordReportOutcome {
    Typed,      // the report is in the document and the office window shown
    NoOffice,   // nothing reachable, nothing typed: write the text report instead
    Failed,     // a call failed part-way: show kWordFailedText, no fallback
    NoAmounts,  // the final compound has no molar mass; nothing was typed
};

// Types the report for `grams` of the final compound into the document named
// `lastDocumentName` when it is open, else into a new document whose name is
// then remembered there. On Failed the caller shows kWordFailedText with the
// caption kWordFailedCaption and the stop icon (after ending its wait cursor);
// on NoOffice it turns output to word off and writes the text report; on
// NoAmounts it says kZeroFinalMassText (output/weighing.h) as the text report
// would. Corrections on some row add the columns of the text report.
WordReportOutcome writeWordReport(Model& model, WordOffice& office, std::string& lastDocumentName,
                                  std::string_view sampleTag, double grams, bool showDifference,
                                  const Corrections* corrections = nullptr);

// Types one formula at the selection: letters and brackets normal, every other
// character (counts, points, signs, blanks) subscript, subscript off at the end.
void typeFormula(WordSelection& selection, WordFont& font, std::string_view text);

}  // namespace qv
