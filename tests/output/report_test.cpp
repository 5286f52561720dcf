#include "output/text_report.h"

#include <gtest/gtest.h>

#include "output/json_text.h"
#include "output/output_grams.h"
#include "output/report_file.h"
#include "output/report_json.h"
#include "output/weighing.h"
#include "output/word_report.h"
#include "support/recipe_scratch.h"
#include "support/recording_word.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr double kBaTiO3 = 137.33 + 47.87 + 48;

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
    WordReportOutcome output(double grams = 10, bool difference = true, const Corrections* c = nullptr) {
        return writeWordReport(f.model, word, lastName, "S1", grams, difference, c);
    }
    test::TestForm f{test::kBaTiCOElementFile};
    test::RecordingWord word;
    std::string lastName;
};

TEST_F(Report, RatiosScaleOutResidualListsEveryElementAndRowsKeepOrder) {
    const WeighingAmounts one = computeWeighingAmounts(f.model, 10);
    // Two rows; their grams and the residual CO2: tests/cli (report --json).
    ASSERT_TRUE(one.ok && one.rows.size() == 2u);
    set("BaTiO3", 2, {{0, "BaCO3", 2}, {1, "TiO2", 2}});
    const WeighingAmounts two = computeWeighingAmounts(f.model, 10);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_DOUBLE_EQ(two.rows[i].grams, one.rows[i].grams);
    EXPECT_EQ(balanceResidual(f.model), "CO2");

    set("BaTiO3", 1, {{0, "BaO", 1}, {1, "TiO2", 1}});
    EXPECT_EQ(balanceResidual(f.model), "");
    EXPECT_EQ(report(1, true).substr(0, 34), "ID: S1\nBaTiO3  (1 grams)  + None\n=");
    ASSERT_EQ(output(1), WordReportOutcome::Typed);
    EXPECT_EQ(word.documents[0].text.find("ID: S1\nBaTiO_{3}  (1 grams)    + None\n"), 0u);
    set("BaTiO3", 1, {{1, "Ti", -1}});
    EXPECT_EQ(balanceResidual(f.model), "Ti-2O-2");
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, 10).rows[1].grams, -47.87 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, -10).rows[1].grams, 47.87 * 10 / kBaTiO3);

    set("BaTiO3", 1e-7, {{0, "TiO2", 1}});
    EXPECT_EQ(balanceResidual(f.model), "Final Product Ratio is zero.");
    EXPECT_FALSE(computeWeighingAmounts(f.model, 10).ok);
    set("O0", 1, {});  // parses but weighs nothing: no amounts of inf or nan
    const WeighingAmounts none = computeWeighingAmounts(f.model, 10);
    EXPECT_EQ(std::to_string(none.ok) + none.refusal, "0The final compound has no molar mass to weigh by.");

    // Rows keep their order without gaps; long columns stay whole (the whole example report
    // goes through the command line, tests/cli).
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
    const std::tuple<double, double, double> grams[] = {
        {100, 0, 10}, {50, 0, 20}, {100, 10, 11}, {80, 25, 15.625}, {99.5, 5, 10.552763819095477}};
    for (const auto& [purity, excess, expected] : grams)
        EXPECT_NEAR(correctedGrams(10, {purity, excess}), expected, 1e-12) << purity << " " << excess;
    EXPECT_TRUE(anyCorrection({{0, {}}, {3, {100, 0.5}}}));

    // The corrected text report's columns: tests/cli (the same text through the command line).
    const Corrections corrections{{0, {99.5, 5}}}, bottleOnly{{0, {}}, {1, {100, 0, 4, "L"}}};
    const std::string equals(88, '='), hyphens(88, '-');
    EXPECT_EQ(report(10, true, &bottleOnly), test::kBariumTitanateReport);
    ASSERT_EQ(output(10, false, &corrections), WordReportOutcome::Typed);
    const std::string& typed = word.documents[0].text;
    EXPECT_NE(typed.find("Weighed(g)  Purity(%)  Excess(%)  To Weigh(g)\n" + equals), std::string::npos)
        << typed;
    EXPECT_NE(typed.find("8.462264           99.5       5          8.930027\xC2\xB6\n"), std::string::npos);
    EXPECT_NE(typed.find("3.424957\xC2\xB6\n" + hyphens + "\n\xC2\xB6"), std::string::npos);

    // Without the difference the JSON report's residual is null (its other fields: tests/cli).
    const std::string line =
        jsonLine(*weighingReportJson(f.model, {"a.qvs", "S1", "", 10, false, &corrections}));
    EXPECT_NE(line.find(R"("balance_residual":null})"), std::string::npos) << line;
}

TEST_F(Report, WordCallsAndSuccessiveReportsInTheRememberedDocument) {
    ASSERT_EQ(output(), WordReportOutcome::Typed);
    std::string calls;
    for (const std::string& call : word.log) calls += call + "|";
    const std::string equals(53, '='), hyphens(53, '-');
    EXPECT_EQ(
        calls,
        "Connect|Application.Documents|Documents.Count|Documents.Add|Document.Name|Document.Activate|"
        "Application.Selection|Selection.Font|Font.Name=Times New Roman|Font.Size=13.000000|"
        "TypeText ID: S1\n|Font.Subscript=0|TypeText BaTiO|Font.Subscript=1|TypeText 3|Font.Subscript=0|"
        "TypeText   (10 grams)  |TypeText   + |Font.Subscript=0|TypeText CO|Font.Subscript=1|TypeText 2|"
        "Font.Subscript=0|TypeText \n|TypeText " +
            equals + "\n|TypeText Reactant  (Molar Mass)              Amount Weighed(g)\n|TypeText " +
            equals +
            "\n|Font.Subscript=0|TypeText BaCO|Font.Subscript=1|TypeText 3|Font.Subscript=0|"
            "TypeText   (197.34)                          |TypeText 8.462264|TypeParagraph|"
            "Font.Subscript=0|TypeText TiO|Font.Subscript=1|TypeText 2|Font.Subscript=0|"
            "TypeText   (79.87)                           |TypeText 3.424957|TypeParagraph|TypeText " +
            hyphens + "\n|TypeParagraph|TypeParagraph|TypeParagraph|Application.Visible=1|");
    EXPECT_EQ(lastName, "Document1");

    // The next report goes to the remembered document, after the first.
    word.documents.insert(word.documents.begin(), {"Notes", "old"});
    ASSERT_EQ(output(2, false), WordReportOutcome::Typed);
    EXPECT_EQ(word.documents[0].text, "old");
    const std::string& text = word.documents[1].text;
    EXPECT_EQ(text.find("ID: S1\nBaTiO_{3}  (10 grams)    + CO_{2}\n"), 0u);
    EXPECT_NE(text.find("ID: S1\nBaTiO_{3}  (2 grams)  \n="), std::string::npos);
    EXPECT_EQ(std::count(word.log.begin(), word.log.end(), "Documents.Add"), 1);
    // Closed or renamed meanwhile: a new document, remembered from then on.
    word.documents[1].name = "Saved as";
    ASSERT_EQ(output(), WordReportOutcome::Typed);
    EXPECT_EQ(std::to_string(word.documents.size()) + " " + lastName, "3 Document3");
}

TEST_F(Report, WordNothingTypedWithoutOfficeOrMolarMassAndAFailureStopsAtOnce) {
    f.model.finalCompound().setEntry("H0", 1, false);
    EXPECT_EQ(output(), WordReportOutcome::NoAmounts);
    EXPECT_TRUE(word.log.empty());
    ASSERT_TRUE(f.enterBariumTitanate());
    word.reachable = false;
    EXPECT_EQ(output(), WordReportOutcome::NoOffice);
    EXPECT_EQ(word.log, std::vector<std::string>{"Connect: none"});
    EXPECT_EQ(lastName, "");
    // Fail at each kind of call: no call after it, and the office not shown.
    for (int failAt : {2, 4, 5, 8, 9, 12, 20, 48}) {
        SCOPED_TRACE(failAt);
        test::RecordingWord w;
        w.failAtCall = failAt;
        EXPECT_EQ(writeWordReport(f.model, w, lastName, "S1", 10, true), WordReportOutcome::Failed);
        EXPECT_EQ(w.log.size(), static_cast<std::size_t>(failAt));
        EXPECT_FALSE(w.visible);
    }
}

// The messages go through the command line (tests/cli).
TEST(ReportOutput, GramsReadLikeTheGramFieldAndTheFileIsTimeStampedAndAppended) {
    double g = -1;
    EXPECT_EQ(readOutputGrams("  -5g", g), GramCheck::Ok);
    EXPECT_EQ(g, -5);
    for (const char* bad : {"", " ", ".", "1e999", "-1e999"}) {
        EXPECT_EQ(readOutputGrams(bad, g), GramCheck::NotANumber) << bad;
        EXPECT_EQ(g, 0) << bad;
    }
    for (const char* zero : {"0", "-4e-7"}) EXPECT_EQ(readOutputGrams(zero, g), GramCheck::Zero) << zero;

    // The report file: a time-stamped name, appended to.
    test::TempDir dir;
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 10, t.tm_mday = 5, t.tm_hour = 9, t.tm_min = 3, t.tm_sec = 7;
    const std::string folder = dir.path().string() + "/", path = folder + "2024.11.05-09.03.07.qv";
    EXPECT_EQ(reportFilePath(folder, t), path);
    const auto opensAndWrites = [&](const std::string& in) {
        const ReportFileResult r = appendReportFile(in, t, "new\n");
        return std::to_string(r.opened) + std::to_string(r.written) + " " + r.path;
    };
    // A leftover file of the same second keeps its content ahead of the new report.
    dir.write("2024.11.05-09.03.07.qv", "old\n");
    EXPECT_EQ(opensAndWrites(folder), "11 " + path);
    EXPECT_EQ(test::readFileBytes(path), "old\nnew\n");
    EXPECT_EQ(opensAndWrites(folder + "absent/").substr(0, 2), "00");
    // Opened, but the disk is full.
    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/full", path);
    EXPECT_EQ(opensAndWrites(folder), "10 " + path);
}

}  // namespace
}  // namespace qv
