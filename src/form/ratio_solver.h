#pragma once
// The ratio solver: checks the form, shows the remainder (final compound minus
// fixed entries), and in automatic mode solves one equation per included
// element for the ratios of the free entries. Reports in the status box.

#include <string_view>

namespace qv {

class Model;

namespace status {
inline constexpr std::string_view kBadFinal =
    "Specify correct formula and ratio for the final compound.";
inline constexpr std::string_view kZeroFinalRatio =
    "Specify non-zero ratio for the final compound.";
inline constexpr std::string_view kBadEntry =
    "There is a bad entry in Source Material List.";
inline constexpr std::string_view kManualMode =
    "Quorvex is in manual mode since you have only fixed entries in Source Material List.";
inline constexpr std::string_view kIncludeEmpty = "Probably, Include List is empty.";
inline constexpr std::string_view kSolved = "Quorvex could obtain an answer for you.";
inline constexpr std::string_view kRowsMismatch = "rows != c_in_elems";
}  // namespace status

class RatioSolver {
public:
    explicit RatioSolver(Model& model) : model_(model) {}
    // True when "Output" was left enabled. Needs the model's form and lists.
    bool run();

private:
    Model& model_;
};

}  // namespace qv
