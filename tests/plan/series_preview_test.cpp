#include <gtest/gtest.h>

#include "plan/series.h"
#include "support/element_file.h"

namespace qv {

TEST(SeriesPreview, SampleFormulasWithTheirProblemsOrOneMessage) {
    ElementTable table;
    ASSERT_EQ(test::loadElementText(table, "1 C 12 m\n2 O 16 m\n3 Ti 48\n4 Sr 88\n5 Ba 137\n"), 5);
    SeriesPreview p = previewSeries(table, "Ba{1-x}Sr{x}TiO3", "x", {0.0, 1.2, 0.4});
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.lines.size(), 4u);
    EXPECT_EQ(p.lines[0].formula + " " + p.lines[1].formula, "Ba1TiO3 Ba0.6Sr0.4TiO3");
    EXPECT_DOUBLE_EQ(p.lines[1].molarMass.value_or(0), 0.6 * 137 + 0.4 * 88 + 96);
    EXPECT_EQ(p.lines[2].problem, "");
    EXPECT_EQ(p.lines[3].problem, "The count {1-x} is negative (-0.2).")
        << "one sample fails, not the series";
    EXPECT_FALSE(p.lines[3].molarMass);
    EXPECT_EQ(previewSeries(table, "Ba{1-x}Xy{x}O", "x", {0.5, 0.5, 0}).lines.at(0).problem,
              "Not a valid formula.");
    // A hydrate part's leading count may vary too; 0 stays written.
    p = previewSeries(table, "SrCO3\u00B7{x}TiO2", "x", {0, 1, 1});
    ASSERT_EQ(p.lines.size(), 2u);
    EXPECT_EQ(p.lines[0].formula + " " + p.lines[1].formula, "SrCO3\u00B70TiO2 SrCO3\u00B71TiO2");
    EXPECT_DOUBLE_EQ(p.lines[1].molarMass.value_or(0), 148 + 80);
    for (const auto& [templ, variable, range, error] : {
             std::tuple<const char*, const char*, SeriesRange, const char*>{
                 "Ba{1-*x}TiO3", "x", {0, 1, 1}, "Template: {1-*x}"},
             {"Ba{1-x", "x", {0, 1, 1}, "Template: \"{\" at position 3 of the template is not closed"},
             {"Ba{x}TiO3", "1x", {0, 1, 1}, "The variable must be"},
             {"Ba{x}TiO3", "status", {0, 1, 1}, "\"status\" names an output field"},
             {"", "x", {0, 1, 1}, "Type the final compound"},
             {"Ba{x}TiO3", "x", {0, 1, -1}, "Range: the step -1 does not lead from 0 to 1"},
             {"Ba{x}TiO3", "x", {0, 1, 1e-4}, "The range gives 10001 samples; at most 1000"},
         }) {
        p = previewSeries(table, templ, variable, range);
        EXPECT_EQ(p.error.rfind(error, 0), 0u) << p.error;
        EXPECT_TRUE(p.lines.empty());
    }
}

}  // namespace qv
