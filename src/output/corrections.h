#pragma once
// What a chemist weighs beyond the stoichiometric grams: a bottle of purity p %
// holds only p/100 of the compound, and volatile elements (Li, Na, K, Bi, Pb)
// get e % excess to make up for what evaporates in the furnace.
//
//   grams to weigh = grams x (1 + e/100) / (p/100)

#include "form/corrections.h"

namespace qv {

// True when some row's grams change: the reports then show the corrections.
bool anyCorrection(const Corrections& corrections);

double correctedGrams(double grams, const Correction& c);
// The row's correction, or none.
Correction correctionOf(const Corrections* corrections, int row);

}  // namespace qv
