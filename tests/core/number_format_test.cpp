#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace qv {
namespace {

TEST(NumberFormat, DecimalRoundedAndTrimmedShortestReadsBack) {
    // 0.0000015 is halfway: rounded by the double's exact binary value, as
    // printf does.
    const std::pair<double, const char*> cases[] = {
        {12.5, "12.5"},         {100, "100"},       {0, "0"},
        {0.1 + 0.2, "0.3"},     {-0.0000001, "-0"}, {1000.000001, "1000.000001"},
        {0.0000015, "0.000002"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(formatDecimal(value, 6), text) << value;
    EXPECT_EQ(formatDecimal(1234567.1234564), "1234567.123456");
    EXPECT_EQ(formatDecimal(1e20), "100000000000000000000");
    EXPECT_EQ(formatDecimal(2.125, 2), "2.12");
    EXPECT_EQ(formatDecimal(2.7, -1), "3");
    EXPECT_EQ(formatDecimal(100.0, 0), "100") << "no fraction, so the integer zeros stay";
    EXPECT_EQ(formatDecimal(1e300).size(), 301u) << "never an exponent";
    EXPECT_EQ(formatDecimal(-std::numeric_limits<double>::max()).size(), 310u);
    EXPECT_EQ(trimTrailingZeros("5."), "5");
    EXPECT_EQ(trimTrailingZeros("100"), "100") << "no point, no fraction to trim";
    for (const char* text : {"233.19400000000002", "-0", "1e-07", "5e-324", "-1.7976931348623157e+308"})
        EXPECT_EQ(formatShortest(std::strtod(text, nullptr)), text);
}

}  // namespace
}  // namespace qv
