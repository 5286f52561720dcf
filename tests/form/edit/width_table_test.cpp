#include <gtest/gtest.h>

#include <string_view>

#include "form/edit/width_table.h"

namespace qv {
namespace {

TEST(WidthTable, CountsTakeSubscriptWidthsEverythingElseNormal) {
    WidthTable table;
    table.widths[10] = -7;  // untouched codes keep what they held
    fillWidthTable(
        table, [](char c) { return 100 + c; }, [](char c) { return 200 + c; });
    for (char c : std::string_view("(-F ~:")) EXPECT_EQ(table.widthOf(c), 100 + c) << c;
    for (char c : std::string_view("2./")) EXPECT_EQ(table.widthOf(c), 200 + c) << c;
    for (char c : std::string_view("2.F\xB7")) EXPECT_EQ(table.widthOf(c, true), 100 + c) << c;
    EXPECT_EQ(table.widths[10], -7);
    EXPECT_EQ(table.widths[31], 0);
    EXPECT_EQ(table.widths[127], 0);
    EXPECT_EQ(table.widthOf('\xE9'), 0);
}

}  // namespace
}  // namespace qv
