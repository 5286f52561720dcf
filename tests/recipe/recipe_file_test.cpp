#include "recipe/recipe_file.h"
#include "recipe/corrections_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "form/ratio_solver.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr std::string_view kExample =
    "-2 1100\r\n-1 sample A\r\n0 10.00000 1.00000 BaTiO3\r\n1 0 1.00000 BaCO3\r\n2 1 1.00000 TiO2\r\n";

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) out += (out.empty() ? "" : " ") + t;
    return out;
}

// The form in one line: final, its ratio and grams | each filled row | the
// two element lists | the include flags.
std::string shown(test::TestForm& g) {
    std::string s = g.final().text() + " " + g.final().ratioText() + " " + g.model.gramsText() + "|";
    for (int row = 0; row < kSourceRows; ++row)
        if (const EntryClass c = g.row(row).classify(); c != Empty)
            s += std::to_string(row + 1) + " " + g.row(row).text() + (c == Fixed ? " fixed " : " free ") +
                 g.row(row).ratioText() + "|";
    return s + joined(g.include.texts()) + "|" + joined(g.exclude.texts()) + "|" +
           g.model.elementTable().includeFlagsText();
}

class Recipe : public ::testing::Test {
protected:
    std::string path(const std::string& name = "r.qvs") const { return (dir.path() / name).string(); }
    RecipeResult load(std::string_view bytes) { return loadRecipe(f.model, dir.write("in.qvs", bytes)); }
    // Saves, expecting success, and returns the file's bytes.
    std::string save(test::TestForm& form, const std::string& name = "r.qvs") {
        EXPECT_EQ(saveRecipe(form.model, path(name)), RecipeResult::Done);
        return test::readFileBytes(path(name));
    }
    // A failed save's message; r.qvs stays as it was.
    std::string refusedSave(const std::string& name = "r.qvs") {
        const std::string before = test::readFileBytes(path());
        const std::size_t shown = f.messages.size();
        EXPECT_EQ(saveRecipe(f.model, path(name)), RecipeResult::Failed);
        EXPECT_EQ(test::readFileBytes(path()), before);
        if (f.messages.size() != shown + 1) return "no message";
        return f.messages.back().text + "|" + f.messages.back().title;
    }
    // The row 1 formula of a fresh form that opens r.qvs.
    std::string reopened() {
        test::TestForm g{test::kBaTiCOElementFile};
        EXPECT_EQ(loadRecipe(g.model, path()), RecipeResult::Done);
        EXPECT_TRUE(g.model.corrections().empty());
        return g.row(0).text();
    }
    CorrectionsRead read(const std::string& rows) {
        return readCorrections(f.model,
                               R"({"format": "quorvex-corrections", "version": 1, "rows": [)" + rows + "]}",
                               "r.qvs.json");
    }
    // After a failed load: the message, an empty form and the default flags.
    void expectFailedAndCleared(RecipeResult result) {
        EXPECT_EQ(result, RecipeResult::Failed);
        ASSERT_FALSE(f.messages.empty());
        EXPECT_EQ(f.messages.back().text + "|" + f.messages.back().title,
                  "Failed to load a file.|Quorvex : File I/O Error");
        EXPECT_EQ(f.messages.back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(shown(f), " 1 1|||1100");
        EXPECT_FALSE(f.outputEnabled());
        EXPECT_TRUE(f.model.elementUse().empty());
    }

    test::TempDir dir;
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(Recipe, SavedExampleLoadsBackWithAnyLineEndAndBlanksThenRowGapsTagAndFlags) {
    // How a solved form is saved: below, and tests/cli (solve --output).
    std::string lf(kExample), cr(kExample);
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    for (const std::string& bytes :
         {std::string(kExample), lf, cr, std::string(kExample) + "\r\n\r\n",
          std::string("\n  \t\n-2    1100   \n\r\n-1   sample A \t \n\n"
                      "0   10    1   BaTiO3   \n 1  0  1  BaCO3\n2 1 1 TiO2 \x1a")}) {
        f.model.setSampleTag("");
        EXPECT_EQ(load(bytes), RecipeResult::Done);
        EXPECT_EQ(f.model.sampleTag() + "|" + shown(f) + "|" + f.status(),
                  "sample A|BaTiO3 1 10|1 BaCO3 free 1|2 TiO2 fixed 1|Ba Ti|C O|1100|" +
                      std::string(status::kSolved))
            << bytes;
    }
    EXPECT_TRUE(f.messages.empty());

    // Loaded over a filled form: no old row stays.
    f.type(f.row(9), "Qq");
    // A later line for the same row wins.
    EXPECT_EQ(load("0 5 1 BaTiO3\n7 1 2.5 BaO\n30 1 1.000001 TiO2\n7 1 1 BaO\n"), RecipeResult::Done);
    EXPECT_EQ(shown(f), "BaTiO3 1 5|7 BaO fixed 1|30 TiO2 fixed 1.000001|Ba Ti|O|1100");
    EXPECT_EQ(f.status(), status::kManualMode);
    EXPECT_EQ(load("0 1 1 BaTiO3\n1 0 1 Ba CO3\n2 0 1 " + std::string(480, 'O') + "\n"), RecipeResult::Done);
    EXPECT_EQ(f.row(0).text() + " " + std::to_string(f.row(1).edit().length()), "BaCO3 480");
    f.model.setSampleTag("before");
    EXPECT_EQ(load("0 1 1 BaTiO3\n"), RecipeResult::Done);
    EXPECT_EQ(f.model.sampleTag(), "before") << "no tag line, no change";
    EXPECT_EQ(load("-1\n-2 0011011\n0 1 1 BaTiO3\n"), RecipeResult::Done);
    EXPECT_EQ(f.model.sampleTag() + shown(f), "BaTiO3 1 1|O|Ba Ti|0011");
    // Flags after the formulas move the listed elements.
    EXPECT_EQ(load("0 1 1 BaTiO3\n1 0 1 BaCO3\n-2 0111\n"), RecipeResult::Done);
    EXPECT_EQ(shown(f), "BaTiO3 1 1|1 BaCO3 free |C O Ti|Ba|0111");
    EXPECT_EQ(f.model.includeCount(), 3);
}

TEST_F(Recipe, BadFilesFailLongLinesRefusedSavesCheckedAndRoundTripsKeepFormAndEncoding) {
    // Bad numbers, kinds and flags (11002: a bad character beyond the table), and
    // formulas the editor would cut short.
    std::istringstream lines(
        "abc|- 1|-3 x|31 0 1 BaO|99999999999999999999 0 1 BaO|0|0 x 1 BaTiO3|0 10|"
        "0 10 BaTiO3|0 1e999 1 BaTiO3|1 0 BaO|1 x 1 BaO|1|-2 110|-2 11x0|-2 11002|-2|"
        "1 0 1 CuSO4+5H2O|0 1 1 Ba[TiO3]");
    for (std::string line; std::getline(lines, line, '|');) {
        SCOPED_TRACE(line);
        // The good part of the file is applied before the bad line is met.
        expectFailedAndCleared(load("-2 0011\n-1 tag\n0 2 1 BaTiO3\n1 1 1 BaO\n" + line + "\n"));
        EXPECT_EQ(f.model.sampleTag(), "tag");
    }
    expectFailedAndCleared(load("1 0 1 " + std::string(481, 'O')));
    expectFailedAndCleared(loadRecipe(f.model, path("absent.qvs")));
    expectFailedAndCleared(loadRecipe(f.model, dir.path().string()));  // opens, cannot be read
    EXPECT_FALSE(f.model.failure());
    // Lines are read and written in pieces of 1023 bytes.
    const std::string tag(1020, 't');
    ASSERT_EQ(load(kExample), RecipeResult::Done);
    f.model.setSampleTag(tag);
    const std::string saved = save(f);
    EXPECT_EQ(saved, "-2 1100\r\n-1 " + tag + std::string(kExample.substr(20)));
    // A line the loader could not read back in one piece is not written.
    f.model.setSampleTag(tag + "t");
    EXPECT_EQ(refusedSave(), std::string(kRecipeLineTooLongText) + "|Quorvex : File I/O Error");

    EXPECT_EQ(load(saved), RecipeResult::Done);
    EXPECT_EQ(f.model.sampleTag(), tag);
    // One more byte starts a second piece, which is no line of its own.
    expectFailedAndCleared(load("-1 " + tag + "x\r\n0 1 1 BaTiO3\r\n"));
    // A piece that happens to be a line of its own is applied as one.
    EXPECT_EQ(load("-1 " + std::string(1020, ' ') + "1 0 1 TiO2\n0 1 1 BaTiO3\n"), RecipeResult::Done);
    EXPECT_EQ(f.row(0).text(), "TiO2");
    // The save checks the form and replaces the old file only when complete.
    ASSERT_EQ(load(kExample), RecipeResult::Done);
    dir.write("r.qvs", "old recipe");
    f.model.setGramsText("10 g");
    EXPECT_EQ(refusedSave(), "Check the amount of the final product.|Quorvex : File I/O Error");
    f.model.setGramsText("");
    f.type(f.final(), ")");
    EXPECT_EQ(refusedSave(), "Check the final product and its ratio.|Quorvex : File I/O Error");
    // An empty mass field is saved as 0 and comes back as 0.
    f.backspace(f.final());
    EXPECT_NE(save(f).find("\r\n0 0.00000 1.00000 BaTiO3\r\n"), std::string::npos);
    ASSERT_EQ(loadRecipe(f.model, path()), RecipeResult::Done);
    EXPECT_EQ(f.model.gramsText(), "0");
    const auto files = [&] { return std::distance(std::filesystem::directory_iterator(dir.path()), {}); };
    EXPECT_EQ(files(), 2) << "r.qvs and in.qvs: no temporary file left behind";

    // A target that cannot be replaced: the save says so and nothing is lost.
    std::filesystem::create_directory(dir.path() / "taken.qvs");
    dir.write("taken.qvs/keep", "kept");
    EXPECT_EQ(refusedSave("taken.qvs"), std::string(kRecipeSaveFailedText) + "|Quorvex : File I/O Error");
    EXPECT_EQ(test::readFileBytes(path("taken.qvs/keep")), "kept");
    EXPECT_EQ(files(), 3);
    EXPECT_EQ(refusedSave("absent/r.qvs"), std::string(kRecipeSaveFailedText) + "|Quorvex : File I/O Error");
    // A round trip keeps the form but trims the tag and rounds to 5 decimals.
    ASSERT_EQ(load(kExample), RecipeResult::Done);
    f.model.setSampleTag("  tag with blanks  ");
    f.model.setGramsText("2.1234567");
    f.typeFinalRatio("0.5");
    f.type(f.row(4), "Ti");
    f.typeRowRatio(4, "0.123456789");
    f.type(f.row(2), "Qq");  // invalid: dropped on save
    std::string roundTrip = save(f);

    test::TestForm g{test::kBaTiCOElementFile};
    ASSERT_EQ(loadRecipe(g.model, path()), RecipeResult::Done);
    EXPECT_EQ(g.model.sampleTag(), "tag with blanks");
    EXPECT_EQ(shown(g), "BaTiO3 0.5 2.12346|1 BaCO3 free " + f.row(0).ratioText() +
                            "|2 TiO2 fixed 1|5 Ti fixed 0.12346|" + joined(f.include.texts()) + "|C O|1100");
    // Saved again, the file is the same but for the blanks around the tag.
    roundTrip.replace(roundTrip.find("-1 "), 22, "-1 tag with blanks");
    EXPECT_EQ(save(g, "again.qvs"), roundTrip);
    // A Windows-1252 recipe saves back byte for byte until a text needs UTF-8.
    const std::string old = "-2 1100\r\n-1 Probe f\xfcr BaTi \x80\r\n" + std::string(kExample.substr(22));
    dir.write("r.qvs", old);
    TextEncoding encoding = TextEncoding::Utf8;
    ASSERT_EQ(loadRecipe(f.model, path(), &encoding), RecipeResult::Done);
    EXPECT_EQ(encoding, TextEncoding::Windows1252);
    EXPECT_EQ(f.model.sampleTag(), "Probe f\u00fcr BaTi \u20ac");
    ASSERT_EQ(saveRecipe(f.model, path(), encoding), RecipeResult::Done);
    EXPECT_EQ(test::readFileBytes(path()), old);
    // A character the code page lacks: the whole file becomes UTF-8.
    f.model.setSampleTag("Probe \u03b1 f\u00fcr");
    ASSERT_EQ(saveRecipe(f.model, path(), encoding), RecipeResult::Done);
    EXPECT_NE(test::readFileBytes(path()).find("-1 Probe \u03b1 f\u00fcr\r\n"), std::string::npos);
    ASSERT_EQ(loadRecipe(f.model, path(), &encoding), RecipeResult::Done);
    EXPECT_EQ(encoding, TextEncoding::Utf8);
    // New recipes are UTF-8.
    f.model.setSampleTag("Probe Caf\u00e9");
    EXPECT_NE(save(f).find("-1 Probe Caf\u00e9\r\n"), std::string::npos);
}

TEST_F(Recipe, CorrectionsOfChangedRowsOrDamagedFilesAreLostOthersSavedBesideTheRecipeWithHydrates) {
    ASSERT_TRUE(f.enterBariumTitanate());
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
        r = readCorrections(f.model, files[i], "r.qvs.json");
        EXPECT_EQ(r.state, CorrectionsRead::State::Damaged) << files[i];
        EXPECT_TRUE(r.corrections.empty());
        EXPECT_EQ(r.message, "The corrections file r.qvs.json could not be read (" + reasons[i] +
                                 "); the recipe opens without corrections.");
    }
    for (const std::string rows : {R"({"row": 31, "formula": "TiO2"})", R"({"row": 1, "formula": 5})",
                                   R"({"row": 1, "formula": "BaCO3", "purity_pct": 0})",
                                   R"({"row": 1, "formula": "BaCO3", "excess_pct": "5"})"})
        EXPECT_EQ(read(rows).state, CorrectionsRead::State::Damaged) << rows;

    const Corrections corrections{{0, {99.5, 5, 3, "L-17"}}, {1, {}}, {7, {90, 0}}};  // row 8 is empty
    ASSERT_EQ(saveRecipe(f.model, path()), RecipeResult::Done);
    ASSERT_TRUE(writeCorrectionsFile(f.model, corrections, path()));
    // Read back below: only row 1, without a notice about row 8; a file with only
    // rows that have nothing to say is not written at all.

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

    // A hydrate is saved bracketed and reopens as typed, while the companion
    // names the row's compound that way.
    const std::string typed = "BaO\u00b7CO2";
    f.retype(f.row(0), typed);
    ASSERT_EQ(saveRecipe(f.model, path()), RecipeResult::Done);
    ASSERT_TRUE(writeCorrectionsFile(f.model, {}, path()));
    EXPECT_NE(test::readFileBytes(path()).find("\r\n1 0 1.00000 BaO(CO2)\r\n"), std::string::npos);
    EXPECT_EQ(reopened(), typed);
    // Without a companion naming it that way, bracketed.
    dir.write("r.qvs.json", R"j({"format": "quorvex-corrections", "version": 1, "rows": [)j"
                            R"j({"row": 1, "formula": "BaO(CO2)", "as_typed": "BaO*TiO2"}]})j");
    EXPECT_EQ(reopened(), "BaO(CO2)");
    std::filesystem::remove(path() + ".json");
    EXPECT_EQ(reopened(), "BaO(CO2)");
}

TEST(RecipeText, Utf8IsToldFromWindows1252AndFieldsAreTrimmedAndRead) {
    for (const char* valid : {"", "Probe f\xc3\xbcr BaTi", "CuSO4\xc2\xb7", "\xe2\x82\xac \xf0\x9f\x98\x80"})
        EXPECT_TRUE(isValidUtf8(valid)) << valid;
    for (const char* invalid :
         {"Probe f\xfcr", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(isValidUtf8(invalid)) << invalid;
    std::string all, back;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    ASSERT_TRUE(utf8ToWindows1252(windows1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
    EXPECT_FALSE(utf8ToWindows1252("CuSO4 \xce\xb1", back));  // a Greek alpha has no byte

    // Each text, then what is left of it: bytes above 127 are characters and stay.
    const char* const trims[] = {
        "\t  -1 sample A \r\n", "-1 sample A",   " \x01\x1f x  y\x7f",    "x  y\x7f",         " \t\r\n", "",
        "\xe9t\xe9\xff \x01",   "\xe9t\xe9\xff", "Probe Caf\xc3\xa9\r\n", "Probe Caf\xc3\xa9"};
    for (std::size_t i = 0; i < std::size(trims); i += 2) {
        std::string text = trims[i];
        EXPECT_EQ(trimBlanks(text), static_cast<int>(std::strlen(trims[i + 1]))) << trims[i];
        EXPECT_EQ(text, trims[i + 1]);
    }
    double v = -1;
    const std::string padded = std::string(98, ' ') + "7";  // at most 99 characters
    for (const auto& [text, value] :
         {std::pair<std::string, double>{"   ", 0}, {" -1e-3\t", -0.001}, {padded, 7}}) {
        EXPECT_TRUE(readNumberField(text, v)) << text;
        EXPECT_EQ(v, value);
    }
    EXPECT_FALSE(readNumberField(" " + padded, v));
    for (const char* bad : {"2.5x", "1,5", "abc", "1 2", "1e999", "-1e999", "nan", "inf", "0x10"})
        EXPECT_FALSE(readNumberField(bad, v)) << bad;
}

}  // namespace
}  // namespace qv
