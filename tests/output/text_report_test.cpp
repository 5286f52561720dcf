#include "output/text_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "output/output_grams.h"
#include "output/report_file.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

class TextReport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.enterBariumTitanate()); }
    std::string report(std::string_view tag, double grams, bool difference) {
        return weighingReportText(f.model, tag, grams, difference).value_or("<none>");
    }
    test::TestForm f{test::kBaTiCOElementFile};
};

// The whole example report goes through the command line (tests/cli).
TEST_F(TextReport, ExactMixShowsNoResidual) {
    f.model.source(0).setEntry("BaO", 1, true);
    f.model.source(1).setEntry("TiO2", 1, true);
    EXPECT_EQ(report("x", 1, true).substr(0, 33), "ID: x\nBaTiO3  (1 grams)  + None\n=");
}

TEST_F(TextReport, RowsKeepOrderWithoutGapsAndLongColumnsStayWhole) {
    f.model.source(0).setEntry("TiO2", 1, true);
    f.model.source(1).setEntry("", 0, false);
    f.model.source(3).setEntry("Ba", 1, true);
    f.model.source(5).setEntry("Qq", 1, true);                           // invalid, not listed
    f.model.source(7).setEntry("BaTi2O5Ba2Ti2O4Ti3O7Ba2O2", -1, true);   // 36 wide
    f.model.source(9).setEntry("BaTi2O5Ba2Ti2O4Ti3O7BaO2Ti", -1, true);  // 37 wide
    const std::string text = report("t", 1, false);
    EXPECT_EQ(text.substr(text.find("-\n") + 2),
              "TiO2  (79.87)                        0.342496\n"
              "Ba  (137.33)                         0.588894\n"
              "BaTi2O5Ba2Ti2O4Ti3O7Ba2O2  (1309.74) -5.616381\n"
              "BaTi2O5Ba2Ti2O4Ti3O7BaO2Ti  (1220.28) -5.232762\n"
              "-----------------------------------------------------\n\n\n");
}

// The messages go through the command line (tests/cli).
TEST(OutputGrams, ReadsLikeTheGramField) {
    double g = -1;
    EXPECT_EQ(readOutputGrams("  -5g", g), GramCheck::Ok);
    EXPECT_EQ(g, -5);
    for (const char* bad : {"", " ", ".", "1e999", "-1e999"}) {
        EXPECT_EQ(readOutputGrams(bad, g), GramCheck::NotANumber) << bad;
        EXPECT_EQ(g, 0) << bad;
    }
    for (const char* zero : {"0", "-4e-7"}) EXPECT_EQ(readOutputGrams(zero, g), GramCheck::Zero) << zero;
}

TEST(ReportFile, TimeStampedNameAndAppending) {
    test::TempDir dir;
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 10, t.tm_mday = 5, t.tm_hour = 9, t.tm_min = 3, t.tm_sec = 7;
    const std::string folder = dir.path().string() + "/";
    EXPECT_EQ(reportFilePath(folder, t), folder + "2024.11.05-09.03.07.qv");
    // A leftover file of the same second keeps its content ahead of the new report.
    dir.write("2024.11.05-09.03.07.qv", "old\n");
    const ReportFileResult r = appendReportFile(folder, t, "new\n");
    EXPECT_TRUE(r.opened && r.written);
    EXPECT_EQ(test::readFileBytes(r.path), "old\nnew\n");
    const ReportFileResult missing = appendReportFile(folder + "absent/", t, "x");
    EXPECT_FALSE(missing.opened || missing.written);
    // Opened, but the disk is full.
    std::filesystem::remove(r.path);
    std::filesystem::create_symlink("/dev/full", r.path);
    const ReportFileResult full = appendReportFile(folder, t, "x");
    EXPECT_TRUE(full.opened && !full.written);
}

}  // namespace
}  // namespace qv
