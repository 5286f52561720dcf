#include <gtest/gtest.h>

#include <string_view>

#include "form/edit/formula_style.h"
#include "form/edit/width_table.h"
#include "form/formula.h"

namespace qv {
namespace {

TEST(WidthTable, CountsTakeSubscriptWidthsEverythingElseNormal) {
    WidthTable table;
    table.widths[10] = -7;  // untouched codes keep what they held
    fillWidthTable(
        table, [](char c) { return 100 + c; }, [](char c) { return 200 + c; });
    for (char c : std::string_view("(-F ~:")) EXPECT_EQ(table.widthOf(c), 100 + c) << c;
    for (char c : std::string_view("2./")) EXPECT_EQ(table.widthOf(c), 200 + c) << c;
    EXPECT_EQ(table.widths[10], -7);
    EXPECT_EQ(table.widths[31], 0);
    EXPECT_EQ(table.widths[127], 0);
    EXPECT_EQ(table.widthOf('\xE9'), 0);
}

TEST(FormulaStyle, RowsTakeTheFinalCompoundsStyleWithTheirOwnBackground) {
    const WidthTable widths;
    const FontMetrics normal{22, 17, 2};
    const FontMetrics small{14, 11, 3};
    Formula finalCompound, row;
    applyStyle(finalCompound, FormulaStyle{&widths, &normal, &small, 0, -5, std::nullopt});
    copyRowStyle(row, finalCompound);
    EXPECT_EQ(row.edit.widthTable, &widths);
    EXPECT_EQ(finalCompound.style.background, std::nullopt);
    EXPECT_EQ(row.style.background, (Rgb{254, 251, 209}));
    const VerticalLayout v = verticalLayout(row.style);
    EXPECT_EQ(v.baseline, 17);
    EXPECT_EQ(v.subscriptTop, 17 - 11 + 5);  // subscript baseline 5 px lower
    EXPECT_EQ(v.caretBottom, 17 + 5);        // reaches below the lowered counts
}

}  // namespace
}  // namespace qv
