#include "output/text_report.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "output/corrections.h"
#include "output/json_text.h"
#include "output/output_grams.h"
#include "output/report_file.h"
#include "output/report_json.h"
#include "output/weighing.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr double kBaCO3 = 137.33 + 12.01 + 48, kTiO2 = 47.87 + 32, kBaTiO3 = 137.33 + 47.87 + 48;

class Report : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.enterBariumTitanate()); }
    std::string report(double grams, bool difference, const Corrections* c = nullptr) {
        return weighingReportText(f.model, "S1", grams, difference, c).value_or("<none>");
    }
    // Final compound and fixed rows, as a recipe would set them.
    void set(std::string_view final, double ratio,
             std::initializer_list<std::tuple<int, std::string_view, double>> rows) {
        f.final().setEntry(final, ratio, false);
        for (auto [row, text, r] : rows) f.row(row).setEntry(text, r, true);
    }
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(Report, RatiosScaleOutAndResidualListsEveryElement) {
    const WeighingAmounts one = computeWeighingAmounts(f.model, 10);
    ASSERT_TRUE(one.ok);
    ASSERT_EQ(one.rows.size(), 2u);
    EXPECT_DOUBLE_EQ(one.rows[0].grams, kBaCO3 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(one.rows[1].grams, kTiO2 * 10 / kBaTiO3);
    // C and O are excluded from the equations but still show, in table order.
    EXPECT_EQ(balanceResidual(f.model), "CO2");
    set("BaTiO3", 2, {{0, "BaCO3", 2}, {1, "TiO2", 2}});
    const WeighingAmounts two = computeWeighingAmounts(f.model, 10);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_DOUBLE_EQ(two.rows[i].grams, one.rows[i].grams);
    EXPECT_EQ(balanceResidual(f.model), "CO2");

    set("BaTiO3", 1, {{0, "BaO", 1}, {1, "TiO2", 1}});
    EXPECT_EQ(balanceResidual(f.model), "");
    EXPECT_EQ(report(1, true).substr(0, 34), "ID: S1\nBaTiO3  (1 grams)  + None\n=");
    set("BaTiO3", 1, {{1, "Ti", -1}});
    EXPECT_EQ(balanceResidual(f.model), "Ti-2O-2");
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, 10).rows[1].grams, -47.87 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, -10).rows[1].grams, 47.87 * 10 / kBaTiO3);

    set("BaTiO3", 1e-7, {{0, "TiO2", 1}});
    EXPECT_EQ(balanceResidual(f.model), "Final Product Ratio is zero.");
    EXPECT_FALSE(computeWeighingAmounts(f.model, 10).ok);
    set("O0", 1, {});  // parses but weighs nothing: no amounts of inf or nan
    EXPECT_FALSE(computeWeighingAmounts(f.model, 10).ok);
}

// The whole example report goes through the command line (tests/cli).
TEST_F(Report, RowsKeepOrderWithoutGapsAndLongColumnsStayWhole) {
    set("BaTiO3", 1, {{0, "TiO2", 1}, {3, "Ba", 1}, {5, "Qq", 1}});  // Qq invalid, not listed
    f.row(1).setEntry("", 0, false);
    f.row(7).setEntry("BaTi2O5Ba2Ti2O4Ti3O7Ba2O2", -1, true);   // 36 wide
    f.row(9).setEntry("BaTi2O5Ba2Ti2O4Ti3O7BaO2Ti", -1, true);  // 37 wide
    const std::string text = report(1, false);
    EXPECT_EQ(text.substr(text.find("-\n") + 2),
              "TiO2  (79.87)                        0.342496\n"
              "Ba  (137.33)                         0.588894\n"
              "BaTi2O5Ba2Ti2O4Ti3O7Ba2O2  (1309.74) -5.616381\n"
              "BaTi2O5Ba2Ti2O4Ti3O7BaO2Ti  (1220.28) -5.232762\n"
              "-----------------------------------------------------\n\n\n");
}

TEST_F(Report, CorrectionsAddColumnsOnlyWhenSomeRowChangesGrams) {
    const struct {
        double purity, excess, expected;
    } grams[] = {{100, 0, 10}, {50, 0, 20}, {100, 10, 11}, {80, 25, 15.625}, {99.5, 5, 10.552763819095477}};
    for (const auto& c : grams)
        EXPECT_NEAR(correctedGrams(10, {c.purity, c.excess}), c.expected, 1e-12)
            << c.purity << " " << c.excess;
    EXPECT_TRUE(anyCorrection({{0, {}}, {3, {100, 0.5}}}));

    const Corrections corrections{{0, {99.5, 5}}}, bottleOnly{{0, {}}, {1, {100, 0, 4, "L"}}};
    const std::string equals(88, '='), hyphens(88, '-');
    EXPECT_EQ(
        report(10, true, &corrections),
        "ID: S1\nBaTiO3  (10 grams)  + CO2\n" + equals +
            "\nReactant  (Molar Mass)              Amount Weighed(g)  Purity(%)  Excess(%)  To Weigh(g)\n" +
            hyphens +
            "\nBaCO3  (197.34)                      8.462264           99.5       5          8.930027\n"
            "TiO2  (79.87)                        3.424957           100        0          3.424957\n" +
            hyphens + "\n\n\n");
    EXPECT_EQ(report(10, true, &bottleOnly), test::kBariumTitanateReport);

    ReportJsonInput in{"a.qvs", "S1", "", 10, false, &corrections};
    const std::string line = jsonLine(*weighingReportJson(f.model, in));
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_NE(line.find(R"("purity_pct":99.5,"excess_pct":5,"grams_corrected":8.930027)"), std::string::npos)
        << line;
    EXPECT_NE(line.find(R"("purity_pct":100,"excess_pct":0,"grams_corrected":3.424957)"), std::string::npos);
    EXPECT_NE(line.find(R"("balance_residual":null})"), std::string::npos);
    in.corrections = &bottleOnly;
    EXPECT_EQ(jsonLine(*weighingReportJson(f.model, in)).find("purity_pct"), std::string::npos);
    EXPECT_EQ(jsonLine(noReportJson("b.qvs", "No answer.")),
              "{\"file\":\"b.qvs\",\"status\":\"No answer.\",\"rows\":[]}\n");
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
