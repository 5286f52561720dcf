#include "output/word_report.h"

#include <gtest/gtest.h>

#include "support/recipe_scratch.h"
#include "support/recording_word.h"
#include "support/test_form.h"

namespace qv {
namespace {

using Log = std::vector<std::string>;

class WordReport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.enterBariumTitanate()); }
    WordReportOutcome output(double grams = 10, bool difference = true, const Corrections* c = nullptr) {
        return writeWordReport(f.model, word, lastName, "S1", grams, difference, c);
    }
    test::TestForm f{test::kBaTiCOElementFile};
    test::RecordingWord word;
    std::string lastName;
};

TEST_F(WordReport, BariumTitanateCallSequence) {
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
}

TEST_F(WordReport, FormulaRunsAndTheSubscriptSwitchedOffAtTheEnd) {
    const std::pair<const char*, const char*> cases[] = {
        {"Ba0.5Sr0.5TiO3", "Ba_{0.5}Sr_{0.5}TiO_{3}"},
        {"(La0.7Sr0.3)MnO3-1", "(La_{0.7}Sr_{0.3})MnO_{3-1}"},
        {"CuSO4.5H2O", "CuSO_{4.5}H_{2}O"},
        {"2 H", "_{2 }H"},
        {"H", "H"},
        {"", ""}};
    word.documents.push_back({"D", ""});
    word.active = 0;
    std::unique_ptr<WordSelection> selection = word.connect()->selection();
    std::unique_ptr<WordFont> font = selection->font();
    for (const auto& [text, typed] : cases) {
        word.documents[0].text.clear();
        typeFormula(*selection, *font, text);
        EXPECT_EQ(word.documents[0].text, typed) << text;
        EXPECT_EQ(word.log.back(), "Font.Subscript=0") << text;
    }
}

TEST_F(WordReport, SuccessiveReportsCollectInTheRememberedDocument) {
    word.documents.push_back({"Notes", "old"});
    ASSERT_EQ(output(), WordReportOutcome::Typed);
    EXPECT_EQ(lastName, "Document2");
    ASSERT_EQ(output(2, false), WordReportOutcome::Typed);
    ASSERT_EQ(word.documents.size(), 2u);
    EXPECT_EQ(word.documents[0].text, "old");
    const std::string& text = word.documents[1].text;
    EXPECT_EQ(text.find("ID: S1\nBaTiO_{3}  (10 grams)    + CO_{2}\n"), 0u);
    EXPECT_NE(text.find("ID: S1\nBaTiO_{3}  (2 grams)  \n="), std::string::npos);
    // The second search stops at the remembered one.
    EXPECT_EQ(std::count(word.log.begin(), word.log.end(), "Documents.Add"), 1);

    // Closed or renamed meanwhile: a new document, remembered from then on.
    word.documents[1].name = "Saved as";
    ASSERT_EQ(output(), WordReportOutcome::Typed);
    EXPECT_EQ(word.documents.size(), 3u);
    EXPECT_EQ(lastName, "Document3");
}

TEST_F(WordReport, CorrectionColumnsAndAnExactMix) {
    const Corrections corrections{{0, {99.5, 5}}};
    ASSERT_EQ(output(10, false, &corrections), WordReportOutcome::Typed);
    std::string& text = word.documents[0].text;
    EXPECT_NE(text.find("Amount Weighed(g)  Purity(%)  Excess(%)  To Weigh(g)\n" + std::string(88, '=')),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("8.462264           99.5       5          8.930027\xC2\xB6"), std::string::npos);
    EXPECT_NE(text.find(std::string(88, '-') + "\n\xC2\xB6"), std::string::npos);
    text.clear();
    f.model.source(0).setEntry("BaO", 1, true);
    f.model.source(1).setEntry("TiO2", 1, true);
    ASSERT_EQ(output(1), WordReportOutcome::Typed);
    EXPECT_EQ(text.find("ID: S1\nBaTiO_{3}  (1 grams)    + None\n"), 0u) << text;
}

TEST_F(WordReport, NothingTypedWithoutOfficeOrMolarMass) {
    f.model.finalCompound().setEntry("H0", 1, false);
    EXPECT_EQ(output(), WordReportOutcome::NoAmounts);
    EXPECT_TRUE(word.log.empty());
    ASSERT_TRUE(f.enterBariumTitanate());
    word.reachable = false;
    EXPECT_EQ(output(), WordReportOutcome::NoOffice);
    EXPECT_EQ(word.log, Log{"Connect: none"});
    EXPECT_EQ(lastName, "");
}

TEST_F(WordReport, FailureMidWayStopsAtOnce) {
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

}  // namespace
}  // namespace qv
