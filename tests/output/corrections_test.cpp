#include "output/corrections.h"

#include <gtest/gtest.h>

#include "output/json_text.h"
#include "output/report_json.h"
#include "output/text_report.h"
#include "output/word_report.h"
#include "support/recipe_scratch.h"
#include "support/recording_word.h"
#include "support/test_form.h"

namespace qv {
namespace {

TEST(Corrections, GramsToWeighAgainstHandValues) {
    const struct {
        double purity, excess, expected;
    } cases[] = {
        {100, 0, 10}, {50, 0, 20}, {100, 10, 11}, {80, 25, 15.625}, {99.5, 5, 10.552763819095477},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(correctedGrams(10, {c.purity, c.excess}), c.expected, 1e-12)
            << c.purity << " " << c.excess;
    EXPECT_FALSE(anyCorrection({{0, {}}, {3, {100, 0, 7, "L-1"}}}));  // a bottle alone changes nothing
    EXPECT_TRUE(anyCorrection({{0, {}}, {3, {100, 0.5}}}));
}

class CorrectedReport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.enterBariumTitanate()); }
    test::TestForm f{test::kBaTiCOElementFile};
    Corrections corrections{{0, {99.5, 5}}};
};

TEST_F(CorrectedReport, TextAddsTheColumnsOnlyWhenSomeRowIsCorrected) {
    const std::string equals(88, '='), hyphens(88, '-');
    EXPECT_EQ(
        weighingReportText(f.model, "S1", 10, true, &corrections),
        "ID: S1\n"
        "BaTiO3  (10 grams)  + CO2\n" +
            equals +
            "\n"
            "Reactant  (Molar Mass)              Amount Weighed(g)  Purity(%)  Excess(%)  To Weigh(g)\n" +
            hyphens +
            "\n"
            "BaCO3  (197.34)                      8.462264           99.5       5          8.930027\n"
            "TiO2  (79.87)                        3.424957           100        0          3.424957\n" +
            hyphens + "\n\n\n");
    const Corrections none{{0, {100, 0, 4, "L"}}};
    EXPECT_EQ(weighingReportText(f.model, "S1", 10, true, &none), std::string(test::kBariumTitanateReport));
}

TEST_F(CorrectedReport, WriterTypesTheSameColumns) {
    test::RecordingWord word;
    std::string name;
    ASSERT_EQ(writeWordReport(f.model, word, name, "S1", 10, false, &corrections), WordReportOutcome::Typed);
    std::string typed;
    for (const std::string& call : word.log)
        if (call.rfind("TypeText ", 0) == 0) typed += call.substr(9) + "|";
    EXPECT_NE(typed.find("Amount Weighed(g)  Purity(%)  Excess(%)  To Weigh(g)"), std::string::npos) << typed;
    EXPECT_NE(typed.find("|8.462264|           99.5       5          8.930027|"), std::string::npos) << typed;
    EXPECT_NE(typed.find(std::string(88, '-')), std::string::npos);
}

TEST_F(CorrectedReport, JsonRowsCarryCorrectionsOnEveryRowOrNone) {
    ReportJsonInput in{"a.qvs", "S1", "", 10, false, &corrections};
    const auto doc = weighingReportJson(f.model, in);
    ASSERT_TRUE(doc);
    const std::string line = jsonLine(*doc);
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    EXPECT_NE(line.find(R"("purity_pct":99.5,"excess_pct":5,"grams_corrected":8.930027)"), std::string::npos)
        << line;
    EXPECT_NE(line.find(R"("purity_pct":100,"excess_pct":0,"grams_corrected":3.424957)"), std::string::npos);
    EXPECT_NE(line.find(R"("balance_residual":null})"), std::string::npos);

    in.corrections = nullptr;
    EXPECT_EQ(jsonLine(*weighingReportJson(f.model, in)).find("purity_pct"), std::string::npos);
    EXPECT_EQ(jsonLine(noReportJson("b.qvs", "No answer.")),
              "{\"file\":\"b.qvs\",\"status\":\"No answer.\",\"rows\":[]}\n");
}

}  // namespace
}  // namespace qv
