#pragma once
// Every real number shown to the user goes through formatDecimal: fixed point,
// trailing zeros of the fraction and a bare point removed, a point as decimal
// separator whatever the locale.

#include <string>

namespace qv {

std::string formatDecimal(double value, int decimals = 6);
// Removes trailing zeros of the fraction and then a bare trailing point.
std::string trimTrailingZeros(std::string text);
// The shortest text that reads back as exactly this double ("0.1", "1e-07",
// "10"), for machine-read output; "nan" / "inf" / "-inf" when not finite.
std::string formatShortest(double value);

}  // namespace qv
