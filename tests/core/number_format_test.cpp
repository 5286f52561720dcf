#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

namespace qv {
namespace {

TEST(FormatDecimal, RoundedToTheDecimalsAndTrimmed) {
    const struct {
        double value;
        const char* text;
        int decimals = 6;
    } cases[] = {
        {12.5, "12.5"},
        {3, "3"},
        {100, "100"},
        {0, "0"},
        {0.1 + 0.2, "0.3"},
        {-2.25, "-2.25"},
        {0.0000001, "0"},
        {-0.0000001, "-0"},
        {-0.0, "-0"},
        {1234567.1234564, "1234567.123456"},
        {1e20, "100000000000000000000"},
        {0.0000005000001, "0.000001"},
        {2.5e-7, "0"},
        {1000.000001, "1000.000001"},
        {0.1234565, "0.123456"},
        {1e-300, "0"},
        {99.999999, "99.999999"},
        // Halfway cases go by the double's exact binary value, as printf does.
        {0.0000015, "0.000002"},
        {2.0000005, "2.000001"},
        {1.0000025, "1.000002"},
        {8.5e-7, "0.000001"},
        {123456.7890125, "123456.789012"},
        {2.125, "2.12", 2},
        {100.0, "100", 5},
        {100.0, "100", 0},  // no fraction, so the integer zeros stay
    };
    for (const auto& c : cases) EXPECT_EQ(formatDecimal(c.value, c.decimals), c.text) << c.text;
    EXPECT_EQ(formatDecimal(1e300).size(), 301u) << "never an exponent";
    EXPECT_EQ(formatDecimal(-std::numeric_limits<double>::max()).size(), 310u);
    EXPECT_EQ(trimTrailingZeros("5."), "5");
    EXPECT_EQ(trimTrailingZeros("100"), "100") << "no point, no fraction to trim";
}

TEST(FormatShortest, ReadsBackExactly) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{233.194, "233.194"},
                 {137.33 + 47.867 + 3 * 15.999, "233.19400000000002"},
                 {10.0, "10"},
                 {-0.0, "-0"},
                 {1e-7, "1e-07"},
                 {0.1 + 0.2, "0.30000000000000004"},
                 {std::numeric_limits<double>::denorm_min(), "5e-324"},
                 {-std::numeric_limits<double>::max(), "-1.7976931348623157e+308"}};
    for (const auto& c : cases) {
        EXPECT_EQ(formatShortest(c.value), c.text);
        EXPECT_EQ(std::strtod(c.text, nullptr), c.value) << c.text;
    }
}

}  // namespace
}  // namespace qv
