#include "output/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace qv {
namespace {

TEST(FormatDecimal, SixDecimalsTrimmed) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c : {Case{12.5, "12.5"}, Case{3, "3"}, Case{100, "100"}, Case{0, "0"},
                          Case{0.1 + 0.2, "0.3"}, Case{-2.25, "-2.25"}, Case{0.0000001, "0"},
                          Case{-0.0000001, "-0"}, Case{-0.0, "-0"},
                          Case{1234567.1234564, "1234567.123456"}, Case{1e20, "100000000000000000000"},
                          Case{0.0000005000001, "0.000001"}, Case{2.5e-7, "0"},
                          Case{1000.000001, "1000.000001"}, Case{10.05, "10.05"},
                          Case{0.1234565, "0.123456"}}) {
        EXPECT_EQ(formatDecimal(c.value), c.text) << c.text;
    }
}

TEST(FormatDecimal, RoundsLikePrintf) {
    // Halfway cases go by the double's exact binary value, as printf does.
    for (double v : {0.0000015, 0.1234565, 2.0000005, 1.0000025, 8.5e-7, 123456.7890125}) {
        char reference[64];
        std::snprintf(reference, sizeof reference, "%.6f", v);  // tests run in the C locale
        EXPECT_EQ(formatDecimal(v), trimTrailingZeros(reference)) << reference;
    }
}

TEST(FormatDecimal, NeverExponentNeverDanglingPointOrZero) {
    EXPECT_EQ(formatDecimal(1e300).size(), 301u);
    EXPECT_EQ(formatDecimal(-std::numeric_limits<double>::max()).size(), 310u);
    for (double v : {1e-300, 123.0, 5e5, 99.999999, 0.5, -7.0, 1e15 + 0.5}) {
        const std::string s = formatDecimal(v);
        EXPECT_EQ(s.find_first_of("eE"), std::string::npos) << s;
        EXPECT_NE(s.back(), '.') << s;
        if (s.find('.') != std::string::npos) {
            EXPECT_NE(s.back(), '0') << s;
        }
    }
}

TEST(FormatDecimal, OtherPrecisions) {
    EXPECT_EQ(formatDecimal(2.125, 2), "2.12");  // ties go by the exact binary value
    EXPECT_EQ(formatDecimal(1.5, 1), "1.5");
    EXPECT_EQ(formatDecimal(100.0, 5), "100");
    EXPECT_EQ(formatDecimal(100.0, 0), "100") << "no fraction, so the integer zeros stay";
}

TEST(TrimTrailingZeros, StopsAtThePoint) {
    EXPECT_EQ(trimTrailingZeros("0"), "0");
    EXPECT_EQ(trimTrailingZeros("5."), "5");
    EXPECT_EQ(trimTrailingZeros("100.000"), "100");
    EXPECT_EQ(trimTrailingZeros("100"), "100") << "no point, no fraction to trim";
}

TEST(FormatDecimal, IgnoresTheGlobalLocale) {
    const char* wanted[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"};
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : wanted) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    if (!found) GTEST_SKIP() << "no locale with a decimal comma installed";
    const std::string text = formatDecimal(-1234.5);
    const std::string tiny = formatDecimal(0.25);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(text, "-1234.5") << found;
    EXPECT_EQ(tiny, "0.25") << found;
}

}  // namespace
}  // namespace qv
