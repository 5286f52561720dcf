#include <gtest/gtest.h>

#include "recipe/recipe_file.h"

namespace qv {
namespace {

std::string trimmed(std::string text) {
    const int length = trimBlanks(text);
    EXPECT_EQ(length, static_cast<int>(text.size()));
    return text;
}

TEST(TrimBlanks, DropsControlBytesAndBlanksAtTheEnds) {
    EXPECT_EQ(trimmed("\t  -1 sample A \r\n"), "-1 sample A");
    EXPECT_EQ(trimmed(" \x01\x1f x  y\x7f"), "x  y\x7f");
    EXPECT_EQ(trimmed(" \t\r\n"), "");
    EXPECT_EQ(trimmed(""), "");
    // Bytes above 127 go at the end but stay at the start.
    EXPECT_EQ(trimmed("\xe9t\xe9\xff"), "\xe9t");
    EXPECT_EQ(trimmed("\xe9\xe9"), "");
}

TEST(ReadNumberField, WholeTextMustBeOneNumber) {
    double v = -1;
    EXPECT_TRUE(readNumberField("", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(readNumberField("   ", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(readNumberField(" 2.5\t", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(readNumberField("-1e-3", v));
    EXPECT_EQ(v, -0.001);
    for (const char* bad : {"2.5x", "1,5", "abc", "1 2", "1e999", "-1e999", "nan", "inf", "0x10"})
        EXPECT_FALSE(readNumberField(bad, v)) << bad;
}

TEST(ReadNumberField, AtMost99Characters) {
    double v = 0;
    const std::string padded = std::string(98, ' ') + "7";
    EXPECT_TRUE(readNumberField(padded, v));
    EXPECT_EQ(v, 7);
    EXPECT_FALSE(readNumberField(" " + padded, v));
}

}  // namespace
}  // namespace qv
