#pragma once
// The weighing report as plain text, exactly as the report file holds it and
// as the command line prints it.

#include <optional>
#include <string>
#include <string_view>

namespace qv {

class Model;

inline constexpr int kReportRuleWidth = 53;
inline constexpr int kReportFirstColumnWidth = 36;
inline constexpr std::string_view kReportHeader = "Reactant  (Molar Mass)              Amount Weighed(g)";

// The report for `grams` of the final compound, lines ended by "\n". With
// `showDifference` the grams line carries the balance residual. Empty when
// no amount can be derived (the final compound has no molar mass; the text
// to show then is kZeroFinalMassText of solver/weighing.h).
std::optional<std::string> weighingReportText(Model& model, std::string_view sampleTag, double grams,
                                              bool showDifference);

}  // namespace qv
