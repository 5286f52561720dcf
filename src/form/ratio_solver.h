#pragma once
// The ratio solver: checks the form, shows the remainder (final compound minus
// fixed entries), and in automatic mode solves one equation per included
// element for the ratios of the free entries. Reports in the status box.
//
// It decides first (compute, an outcome as a value) and then tells the form
// (apply), so the decision can be checked without a window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/composition.h"

namespace qv {

class Model;

namespace status {
inline constexpr std::string_view kBadFinal = "Specify correct formula and ratio for the final compound.";
inline constexpr std::string_view kZeroFinalRatio = "Specify non-zero ratio for the final compound.";
inline constexpr std::string_view kBadEntry = "There is a bad entry in Source Material List.";
inline constexpr std::string_view kManualMode =
    "Quorvex is in manual mode since you have only fixed entries in Source Material List.";
inline constexpr std::string_view kIncludeEmpty = "Probably, Include List is empty.";
inline constexpr std::string_view kSolved = "Quorvex could obtain an answer for you.";
inline constexpr std::string_view kRowsMismatch = "rows != c_in_elems";
}  // namespace status

// A free entry's new ratio and the text its ratio cell shows.
struct FreeRatio {
    int row = 0;
    double ratio = 0.0;
    std::string text;
};

struct SolverOutcome {
    enum class Kind {
        BadInput,      // final compound, its ratio or a row unusable
        NoEntries,     // neither free nor fixed entries
        Manual,        // fixed entries only
        IncludeEmpty,  // no included element in the remainder
        RowsMismatch,  // the element use and the Include list disagree: a failure
        Solved,
        NoSolution,
    };
    Kind kind = Kind::BadInput;
    int includeCount = 0;
    int freeCount = 0;
    std::string status;                    // the status box
    std::optional<Composition> remainder;  // none after bad input
    std::string remainderText;             // the difference formula
    std::vector<FreeRatio> ratios;         // Solved and NoSolution: every free entry
    bool outputEnabled = false;
};

class RatioSolver {
public:
    explicit RatioSolver(Model& model) : model_(model) {}
    // Touches neither the model nor the form; needs the include list.
    SolverOutcome compute() const;
    // Stores the difference and the ratios, with the model's notices in the
    // order the window shows them. True when "Output" was left enabled.
    bool apply(const SolverOutcome& outcome);
    // compute and apply. Needs the model's element lists.
    bool run() { return apply(compute()); }

private:
    Model& model_;
};

}  // namespace qv
