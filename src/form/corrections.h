#pragma once
// What a row is weighed with beyond its stoichiometric grams: the purity of
// its bottle and the excess added for what evaporates in the furnace. The
// arithmetic lives with the weighing amounts (output/corrections.h).

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace qv {

inline constexpr double kFullPurity = 100.0;

struct Correction {
    double purityPct = kFullPurity;        // 0 < p <= 100
    double excessPct = 0.0;                // 0 <= e <= 100
    std::optional<std::int64_t> bottleId;  // the library's bottle it came from
    std::string lot;
};

// Source row (0..29) -> its correction; rows not present weigh as computed.
using Corrections = std::map<int, Correction>;

inline bool changesGrams(const Correction& c) { return c.purityPct != kFullPurity || c.excessPct != 0.0; }
inline bool purityInRange(double p) { return p > 0.0 && p <= 100.0; }
inline bool excessInRange(double e) { return e >= 0.0 && e <= 100.0; }

}  // namespace qv
