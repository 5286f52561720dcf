#include "recipe/corrections_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "recipe/recipe_file.h"
#include "recipe/text_encoding.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

TEST(TextEncoding, Utf8IsToldFromWindows1252AndConvertsBackUnchanged) {
    for (const char* valid : {"", "Probe f\xc3\xbcr BaTi", "CuSO4\xc2\xb7", "\xe2\x82\xac \xf0\x9f\x98\x80"})
        EXPECT_TRUE(isValidUtf8(valid)) << valid;
    for (const char* invalid :
         {"Probe f\xfcr", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(isValidUtf8(invalid)) << invalid;
    std::string all, back;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_NE(utf8.find("\xe2\x82\xac"), std::string::npos);  // 0x80 is the euro sign
    ASSERT_TRUE(utf8ToWindows1252(utf8, back));
    EXPECT_EQ(back, all);
    EXPECT_FALSE(utf8ToWindows1252("CuSO4 \xce\xb1", back));  // a Greek alpha has no byte
}

class RecipeFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(f.enterBariumTitanate()); }
    std::string path() const { return (dir.path() / "BST.QVS").string(); }
    // The row 1 formula of a fresh form that opens the recipe.
    std::string reopened() {
        test::TestForm g{test::kBaTiCOElementFile};
        EXPECT_EQ(loadRecipe(g.model, path()), RecipeResult::Done);
        EXPECT_TRUE(g.model.corrections().empty());
        return g.row(0).text();
    }
    CorrectionsRead read(const std::string& rows) {
        return readCorrections(f.model,
                               R"({"format": "quorvex-corrections", "version": 1, "rows": [)" + rows + "]}",
                               "BST.QVS.json");
    }
    test::TempDir dir;
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(RecipeFiles, AWindows1252RecipeSavesBackByteForByteUntilATextNeedsUtf8) {
    const std::string old =
        "-2 1100\r\n-1 Probe f\xfcr BaTi \x80\r\n0 10.00000 1.00000 BaTiO3\r\n1 0 1.00000 BaCO3\r\n2 0 "
        "1.00000 TiO2\r\n";
    dir.write("BST.QVS", old);
    TextEncoding encoding = TextEncoding::Utf8;
    ASSERT_EQ(loadRecipe(f.model, path(), &encoding), RecipeResult::Done);
    EXPECT_EQ(encoding, TextEncoding::Windows1252);
    EXPECT_EQ(f.model.sampleTag(), "Probe f\xc3\xbcr BaTi \xe2\x82\xac");
    ASSERT_EQ(saveRecipe(f.model, path(), encoding), RecipeResult::Done);
    EXPECT_EQ(test::readFileBytes(path()), old);

    // A character the code page lacks: the whole file becomes UTF-8.
    f.model.setSampleTag("Probe \xce\xb1 f\xc3\xbcr");
    ASSERT_EQ(saveRecipe(f.model, path(), encoding), RecipeResult::Done);
    EXPECT_NE(test::readFileBytes(path()).find("-1 Probe \xce\xb1 f\xc3\xbcr\r\n"), std::string::npos);
    ASSERT_EQ(loadRecipe(f.model, path(), &encoding), RecipeResult::Done);
    EXPECT_EQ(encoding, TextEncoding::Utf8);
    EXPECT_EQ(f.model.sampleTag(), "Probe \xce\xb1 f\xc3\xbcr");
    // New recipes are UTF-8.
    f.model.setSampleTag("Probe Caf\xc3\xa9");
    ASSERT_EQ(saveRecipe(f.model, path()), RecipeResult::Done);
    EXPECT_NE(test::readFileBytes(path()).find("-1 Probe Caf\xc3\xa9\r\n"), std::string::npos);
}

TEST_F(RecipeFiles, CorrectionsSavedBesideTheRecipeAndReadBack) {
    const Corrections corrections{{0, {99.5, 5, 3, "L-17"}}, {1, {}}, {7, {90, 0}}};  // row 8 is empty
    ASSERT_EQ(saveRecipe(f.model, path()), RecipeResult::Done);
    ASSERT_TRUE(writeCorrectionsFile(f.model, corrections, path()));
    const std::string text = test::readFileBytes(path() + ".json");
    EXPECT_NE(text.find("\"format\": \"quorvex-corrections\""), std::string::npos) << text;
    EXPECT_EQ(text.find("\"row\": 8"), std::string::npos);
    EXPECT_EQ(text.find("\"row\": 2"), std::string::npos);  // nothing to say

    test::TestForm g{test::kBaTiCOElementFile};
    g.model.setCorrection(4, {90, 0});
    ASSERT_EQ(loadRecipe(g.model, path()), RecipeResult::Done);
    EXPECT_TRUE(g.model.corrections().empty());  // the form's were cleared with it
    const CorrectionsRead read = readCorrectionsFile(g.model, path());
    EXPECT_EQ(read.state, CorrectionsRead::State::Read);
    ASSERT_EQ(read.corrections.size(), 1u);
    const Correction& c = read.corrections.at(0);
    EXPECT_EQ(std::to_string(c.purityPct) + " " + std::to_string(c.excessPct) + " " +
                  std::to_string(c.bottleId.value_or(-1)) + " " + c.lot + " " + read.asTyped.at(0) +
                  read.message,
              "99.500000 5.000000 3 L-17 BaCO3");

    // No correction left: the old companion goes, so it cannot come back.
    ASSERT_TRUE(writeCorrectionsFile(f.model, {{0, {}}}, path()));
    EXPECT_EQ(readCorrectionsFile(g.model, path()).state, CorrectionsRead::State::Absent);
}

TEST_F(RecipeFiles, AHydrateIsSavedBracketedAndReopensAsTyped) {
    const std::string typed =
        "BaO\xc2\xb7"
        "CO2";
    f.retype(f.row(0), typed);
    ASSERT_EQ(saveRecipe(f.model, path()), RecipeResult::Done);
    ASSERT_TRUE(writeCorrectionsFile(f.model, {}, path()));
    EXPECT_NE(test::readFileBytes(path()).find("\r\n1 0 1.00000 BaO(CO2)\r\n"), std::string::npos);
    EXPECT_EQ(reopened(), typed);
    // As typed only while it names the row's compound; without companion, bracketed.
    dir.write("BST.QVS.json", R"j({"format": "quorvex-corrections", "version": 1, "rows": [)j"
                              R"j({"row": 1, "formula": "BaO(CO2)", "as_typed": "BaO*TiO2"}]})j");
    EXPECT_EQ(reopened(), "BaO(CO2)");
    std::filesystem::remove(path() + ".json");
    EXPECT_EQ(reopened(), "BaO(CO2)");
}

TEST_F(RecipeFiles, ARowThatChangedOrADamagedFileLosesItsCorrections) {
    // The same compound written otherwise still fits; another compound or an empty row does not.
    CorrectionsRead r = read(R"j({"row": 1, "formula": "BaO(CO2)", "purity_pct": 99},
                                 {"row": 2, "formula": "TiO3", "purity_pct": 98},
                                 {"row": 5, "formula": "TiO2", "excess_pct": 10})j");
    EXPECT_EQ(r.state, CorrectionsRead::State::Read);
    ASSERT_EQ(r.corrections.size(), 1u);
    EXPECT_EQ(r.corrections[0].purityPct, 99);
    EXPECT_EQ(r.ignoredRows, (std::vector<int>{2, 5}));
    EXPECT_EQ(r.message,
              "The correction of row 2 was left out: the row no longer holds that compound. The correction "
              "of row 5 was left out: the row no longer holds that compound.");

    const std::string reasons[] = {"it is not valid JSON", "it is not a Quorvex corrections file",
                                   "it was written by a newer Quorvex"};
    const std::string files[] = {"{", R"({"format": "other", "version": 1, "rows": []})",
                                 R"({"format": "quorvex-corrections", "version": 2, "rows": []})"};
    for (int i = 0; i < 3; ++i) {
        r = readCorrections(f.model, files[i], "BST.QVS.json");
        EXPECT_EQ(r.state, CorrectionsRead::State::Damaged) << files[i];
        EXPECT_TRUE(r.corrections.empty());
        EXPECT_EQ(r.message, "The corrections file BST.QVS.json could not be read (" + reasons[i] +
                                 "); the recipe opens without corrections.");
    }
    for (const std::string rows : {R"({"row": 31, "formula": "TiO2"})", R"({"row": 1, "formula": 5})",
                                   R"({"row": 1, "formula": "BaCO3", "purity_pct": 0})",
                                   R"({"row": 1, "formula": "BaCO3", "excess_pct": "5"})"})
        EXPECT_EQ(read(rows).state, CorrectionsRead::State::Damaged) << rows;
}

}  // namespace
}  // namespace qv
