#pragma once
// Every real number shown to the user goes through formatDecimal: fixed point,
// trailing zeros of the fraction and a bare point removed, a point as decimal
// separator whatever the locale.

#include <string>

namespace qv {

std::string formatDecimal(double value, int decimals = 6);
// Removes trailing zeros of the fraction and then a bare trailing point.
std::string trimTrailingZeros(std::string text);

}  // namespace qv
