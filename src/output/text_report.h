#pragma once
// The weighing report as plain text, exactly as the report file holds it and
// as the command line prints it.

#include <optional>
#include <string>
#include <string_view>

#include "output/corrections.h"

namespace qv {

class Model;

inline constexpr int kReportRuleWidth = 53;
inline constexpr int kReportFirstColumnWidth = 36;
inline constexpr std::string_view kReportHeader = "Reactant  (Molar Mass)              Amount Weighed(g)";
// When some row is corrected, the header goes on with these columns, each
// starting where the one before ends plus two blanks, and the rules grow to
// the header's width.
inline constexpr std::string_view kReportCorrectionHeader = "  Purity(%)  Excess(%)  To Weigh(g)";

// The correction columns of one row, aligned under kReportCorrectionHeader
// for a line whose amount column ends at `lineLength`.
std::string correctionColumns(std::size_t lineLength, double grams, const Correction& c);

// The report for `grams` of the final compound, lines ended by "\n". With
// `showDifference` the grams line carries the balance residual. Empty when
// no amount can be derived (the final compound has no molar mass; the text
// to show then is kZeroFinalMassText of solver/weighing.h). With corrections
// on some row, every row shows its purity, excess and the grams to weigh.
std::optional<std::string> weighingReportText(Model& model, std::string_view sampleTag, double grams,
                                              bool showDifference, const Corrections* corrections = nullptr);

}  // namespace qv
