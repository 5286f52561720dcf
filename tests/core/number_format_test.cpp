#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace qv {
namespace {

TEST(NumberFormat, DecimalRoundedAndTrimmedShortestReadsBack) {
    const struct {
        double value;
        const char* text;
        int decimals = 6;
    } cases[] = {
        {12.5, "12.5"},
        {100, "100"},
        {0, "0"},
        {0.1 + 0.2, "0.3"},
        {-0.0000001, "-0"},
        {1234567.1234564, "1234567.123456"},
        {1e20, "100000000000000000000"},
        {1000.000001, "1000.000001"},
        {0.0000015, "0.000002"},  // halfway: by the double's exact binary value, as printf does
        {2.125, "2.12", 2},
        {100.0, "100", 0},  // no fraction, so the integer zeros stay
        {2.7, "3", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(formatDecimal(c.value, c.decimals), c.text) << c.text;
    EXPECT_EQ(formatDecimal(1e300).size(), 301u) << "never an exponent";
    EXPECT_EQ(formatDecimal(-std::numeric_limits<double>::max()).size(), 310u);
    EXPECT_EQ(trimTrailingZeros("5."), "5");
    EXPECT_EQ(trimTrailingZeros("100"), "100") << "no point, no fraction to trim";
    for (const char* text : {"233.19400000000002", "-0", "1e-07", "5e-324", "-1.7976931348623157e+308"})
        EXPECT_EQ(formatShortest(std::strtod(text, nullptr)), text);
}

}  // namespace
}  // namespace qv
