#pragma once
// The corrections a verb weighs a recipe with: those saved beside the recipe,
// then the bottles of a lab database (--library DB), then --purity F=PCT and
// --excess F=PCT, each later source winning for the rows it names.

#include <cstddef>
#include <string>
#include <vector>

#include "form/corrections.h"

namespace qv::cli {

class RecipeSession;

struct CorrectionFlag {
    std::string formula;  // as given; matched to rows by composition
    double percent = 0.0;
};

struct CorrectionOptions {
    std::vector<CorrectionFlag> purity;
    std::vector<CorrectionFlag> excess;
    std::string library;  // a lab database to take the bottles' corrections from
};

// Takes --purity, --excess or --library (with "=" or the next argument) at
// args[i]. Answers 0 when args[i] is none of them, 1 when taken, and 64 after
// saying on stderr what is wrong with the value.
int takeCorrectionOption(const std::vector<std::string>& args, std::size_t& i, CorrectionOptions& options,
                         const char* verb);

// The corrections for the recipe loaded in `session` from `recipePath`: 0, or
// 64 for a flag whose formula does not parse or is on no listed row, or 1 when
// the library cannot be opened (said on stderr). Notes about the companion
// file and the bottles chosen go to stderr too.
int gatherCorrections(RecipeSession& session, const std::string& recipePath, const CorrectionOptions& options,
                      Corrections& corrections);

}  // namespace qv::cli
