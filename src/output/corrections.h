#pragma once
// What a chemist weighs beyond the stoichiometric grams: a bottle of purity p %
// holds only p/100 of the compound, and volatile elements (Li, Na, K, Bi, Pb)
// get e % excess to make up for what evaporates in the furnace.
//
//   grams to weigh = grams x (1 + e/100) / (p/100)

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
// True when some row's grams change: the reports then show the corrections.
bool anyCorrection(const Corrections& corrections);

inline bool purityInRange(double p) { return p > 0.0 && p <= 100.0; }
inline bool excessInRange(double e) { return e >= 0.0 && e <= 100.0; }

double correctedGrams(double grams, const Correction& c);
// The row's correction, or none.
Correction correctionOf(const Corrections* corrections, int row);

}  // namespace qv
