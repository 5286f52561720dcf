#include "recipe/recipe_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>
#include <locale>

#include "core/number_format.h"
#include "form/ratio_solver.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr std::string_view kExample =
    "-2 1100\r\n-1 sample A\r\n0 10.00000 1.00000 BaTiO3\r\n1 0 1.00000 BaCO3\r\n2 1 1.00000 TiO2\r\n";

class Recipe : public ::testing::Test {
protected:
    std::string path(const std::string& name = "r.qvs") const { return (dir.path() / name).string(); }
    RecipeResult load(std::string_view bytes) { return loadRecipe(f.model, dir.write("in.qvs", bytes)); }
    // Saves, expecting success, and returns the file's bytes.
    std::string save(test::TestForm& form, const std::string& name = "r.qvs") {
        EXPECT_EQ(saveRecipe(form.model, path(name)), RecipeResult::Done);
        return test::readFileBytes(path(name));
    }
    // The example recipe typed in: a free first row, a fixed second row.
    void typeExample() {
        f.model.setSampleTag("sample A");
        f.model.setGramsText("10");
        f.type(f.final(), "BaTiO3");
        f.type(f.row(0), "BaCO3");
        f.type(f.row(1), "TiO2");
        f.typeRowRatio(1, "1");
    }
    void expectExampleLoaded() {
        EXPECT_EQ(f.model.sampleTag(), "sample A");
        EXPECT_EQ(f.final().text(), "BaTiO3");
        EXPECT_EQ(f.model.finalCompound().ratioText(), "1");
        EXPECT_EQ(f.model.gramsText(), "10");
        EXPECT_EQ(f.row(0).text() + "/" + f.row(1).text(), "BaCO3/TiO2");
        EXPECT_EQ(f.row(0).classify(), Free);
        EXPECT_EQ(f.row(1).classify(), Fixed);
        EXPECT_EQ(f.status(), status::kSolved);
        EXPECT_EQ(f.include.texts(), (std::vector<std::string>{"Ba", "Ti"}));
        EXPECT_EQ(f.exclude.texts(), (std::vector<std::string>{"C", "O"}));
    }
    // After a failed load: the message, an empty form and the default flags.
    void expectFailedAndCleared(RecipeResult result) {
        EXPECT_EQ(result, RecipeResult::Failed);
        ASSERT_FALSE(f.messages.empty());
        EXPECT_EQ(f.messages.back().text, "Failed to load a file.");
        EXPECT_EQ(f.messages.back().title, "Quorvex : File I/O Error");
        EXPECT_EQ(f.messages.back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(f.final().edit().length(), 0);
        for (int row = 0; row < kSourceRows; ++row) EXPECT_EQ(f.row(row).classify(), Empty);
        EXPECT_EQ(f.model.gramsText() + f.model.finalCompound().ratioText(), "11");
        EXPECT_FALSE(f.outputEnabled());
        EXPECT_TRUE(f.model.elementUse().empty());
        EXPECT_EQ(f.include.itemCount() + f.exclude.itemCount(), 0);
        EXPECT_EQ(f.model.elementTable().includeFlagsText(), "1100");
    }

    test::TempDir dir;
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(Recipe, SavedExampleBytesAndLoadingThemBack) {
    typeExample();
    EXPECT_EQ(f.row(0).ratioText(), "1");  // solved
    EXPECT_EQ(save(f), kExample);
    EXPECT_EQ(load(kExample), RecipeResult::Done);
    expectExampleLoaded();
    EXPECT_TRUE(f.messages.empty());
}

TEST_F(Recipe, LoadsAnyLineEndBlankLinesAndTrailingBlanks) {
    std::string lf(kExample), cr(kExample);
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    for (const std::string& bytes :
         {lf, cr, std::string(kExample) + "\r\n\r\n",
          std::string("\n  \t\n-2    1100   \n\r\n-1   sample A \t \n\n"
                      "0   10    1   BaTiO3   \n 1  0  1  BaCO3\n2 1 1 TiO2 \x1a")}) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(load(bytes), RecipeResult::Done);
        expectExampleLoaded();
    }
}

TEST_F(Recipe, LoadRowGapsTagAndFlagsOfAnyLength) {
    typeExample();  // loaded over a filled form: no old row stays
    f.type(f.row(9), "Qq");
    EXPECT_EQ(load("0 5 1 BaTiO3\n7 1 2.5 BaO\n30 1 1.000001 TiO2\n7 1 1 BaO\n"), RecipeResult::Done);
    EXPECT_EQ(f.row(6).text() + "/" + f.row(29).text(), "BaO/TiO2");
    EXPECT_EQ(f.row(6).ratio(), 1.0) << "a later line for the same row wins";
    EXPECT_EQ(f.row(29).ratioText(), "1.000001");
    for (int row : {0, 1, 9}) EXPECT_EQ(f.row(row).text(), "") << row;
    EXPECT_EQ(f.model.fixedEntries().size() + f.model.freeEntries().size() + f.model.invalidEntries().size(),
              2u);
    EXPECT_EQ(f.exclude.texts(), (std::vector<std::string>{"O"}));
    EXPECT_EQ(f.status(), status::kManualMode);
    f.model.setSampleTag("before");
    EXPECT_EQ(load("0 1 1 BaTiO3\n"), RecipeResult::Done);
    EXPECT_EQ(f.model.sampleTag(), "before") << "no tag line, no change";
    EXPECT_EQ(load("-1\n"), RecipeResult::Done);
    EXPECT_EQ(f.model.sampleTag(), "");

    EXPECT_EQ(load("-2 0011011\n0 1 1 BaTiO3\n"), RecipeResult::Done);
    EXPECT_EQ(f.model.elementTable().includeFlagsText(), "0011");
    EXPECT_EQ(f.include.texts(), (std::vector<std::string>{"O"}));
    EXPECT_EQ(f.exclude.texts(), (std::vector<std::string>{"Ba", "Ti"}));
    // Flags after the formulas move the listed elements.
    EXPECT_EQ(load("0 1 1 BaTiO3\n1 0 1 BaCO3\n-2 0111\n"), RecipeResult::Done);
    EXPECT_EQ(f.include.texts(), (std::vector<std::string>{"C", "O", "Ti"}));
    EXPECT_EQ(std::to_string(f.model.includeCount()), "3");
}

TEST_F(Recipe, EveryMalformedFileFailsAndClearsTheForm) {
    const char* const lines[] = {"abc\n", "- 1\n", "-3 x\n", "31 0 1 BaO\n", "99999999999999999999 0 1 BaO\n",
                                 "0\n", "0 x 1 BaTiO3\n", "0 10\n", "0 10 BaTiO3\n", "0 1e999 1 BaTiO3\n",
                                 "1 0 BaO\n", "1 x 1 BaO\n", "1\n", "-2 110\n", "-2 11x0\n",
                                 "-2 11002\n",  // a bad character beyond the table
                                 "-2\n",
                                 // formulas the editor would cut short
                                 "1 0 1 CuSO4+5H2O\n", "0 1 1 Ba[TiO3]\n"};
    const std::string longFormula = "1 0 1 " + std::string(481, 'O') + "\n";
    std::vector<std::string> cases(std::begin(lines), std::end(lines));
    cases.push_back(longFormula);
    for (const std::string& line : cases) {
        SCOPED_TRACE(line);
        // The good part of the file is applied before the bad line is met.
        expectFailedAndCleared(load(std::string("-2 0011\n-1 tag\n0 2 1 BaTiO3\n1 1 1 BaO\n") + line));
        EXPECT_EQ(f.model.sampleTag(), "tag");
    }
    expectFailedAndCleared(loadRecipe(f.model, path("absent.qvs")));
    expectFailedAndCleared(loadRecipe(f.model, dir.path().string()));  // opens, cannot be read
    EXPECT_FALSE(f.model.failure());
}

TEST_F(Recipe, FormulasTheEditorHoldsWholeLoad) {
    EXPECT_EQ(load("0 1 1 BaTiO3\n1 0 1 Ba CO3\n2 0 1 " + std::string(480, 'O') + "\n"), RecipeResult::Done);
    EXPECT_EQ(f.row(0).text(), "BaCO3");
    EXPECT_EQ(f.row(1).edit().length(), 480);
}

TEST_F(Recipe, LinesAreReadAndWrittenInPiecesOf1023Bytes) {
    const std::string tag(1020, 't');
    typeExample();
    f.model.setSampleTag(tag);
    const std::string saved = save(f);
    EXPECT_EQ(saved, "-2 1100\r\n-1 " + tag + std::string(kExample.substr(20)));
    // A line the loader could not read back in one piece is not written.
    f.model.setSampleTag(tag + "t");
    EXPECT_EQ(saveRecipe(f.model, path()), RecipeResult::Failed);
    EXPECT_EQ(f.messages.back().text, kRecipeLineTooLongText);
    EXPECT_EQ(test::readFileBytes(path()), saved);

    EXPECT_EQ(load(saved), RecipeResult::Done);
    EXPECT_EQ(f.model.sampleTag(), tag);
    // One more byte starts a second piece, which is no line of its own.
    expectFailedAndCleared(load("-1 " + tag + "x\r\n0 1 1 BaTiO3\r\n"));
    // A piece that happens to be a line of its own is applied as one.
    EXPECT_EQ(load("-1 " + std::string(1020, ' ') + "1 0 1 TiO2\n0 1 1 BaTiO3\n"), RecipeResult::Done);
    EXPECT_EQ(f.row(0).text(), "TiO2");
}

TEST_F(Recipe, RoundTripKeepsTheFormExceptAsDocumented) {
    typeExample();
    f.model.setSampleTag("  tag with blanks  ");
    f.model.setGramsText("2.1234567");
    f.typeFinalRatio("0.5");
    f.type(f.row(4), "Ti");
    f.typeRowRatio(4, "0.123456789");
    f.type(f.row(2), "Qq");  // invalid: dropped on save
    const std::string saved = save(f);
    EXPECT_NE(saved.find("\r\n5 1 0.12346 Ti\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(" Qq"), std::string::npos);

    test::TestForm g{test::kBaTiCOElementFile};
    ASSERT_EQ(loadRecipe(g.model, path()), RecipeResult::Done);
    EXPECT_EQ(g.model.sampleTag(), "tag with blanks");
    EXPECT_EQ(g.model.gramsText(), "2.12346");
    EXPECT_EQ(g.model.finalCompound().ratioText(), "0.5");
    EXPECT_EQ(g.row(4).ratioText(), "0.12346");
    EXPECT_EQ(g.row(2).classify(), Empty);
    for (int row : {0, 1, 4}) {
        EXPECT_EQ(g.row(row).text(), f.row(row).text());
        EXPECT_EQ(g.row(row).classify(), f.row(row).classify());
    }
    EXPECT_EQ(g.include.texts(), f.include.texts());
    // Saved again, the file is the same but for the blanks around the tag.
    std::string expected = saved;
    expected.replace(expected.find("-1 "), 22, "-1 tag with blanks");
    EXPECT_EQ(save(g, "again.qvs"), expected);
}

TEST_F(Recipe, SaveChecksTheFormBeforeWriting) {
    typeExample();
    f.model.setGramsText("10 g");
    EXPECT_EQ(saveRecipe(f.model, path()), RecipeResult::Failed);
    EXPECT_EQ(f.messages.back().text, "Check the amount of the final product.");
    EXPECT_EQ(f.messages.back().title, "Quorvex : File I/O Error");
    f.model.setGramsText("");
    f.type(f.final(), ")");
    EXPECT_EQ(saveRecipe(f.model, path()), RecipeResult::Failed);
    EXPECT_EQ(f.messages.back().text, "Check the final product and its ratio.");
    EXPECT_FALSE(std::filesystem::exists(path()));

    // An empty mass field is saved as 0 and comes back as 0.
    f.backspace(f.final());
    EXPECT_NE(save(f).find("\r\n0 0.00000 1.00000 BaTiO3\r\n"), std::string::npos);
    ASSERT_EQ(loadRecipe(f.model, path()), RecipeResult::Done);
    EXPECT_EQ(f.model.gramsText(), "0");
}

TEST_F(Recipe, SaveReplacesTheOldFileOnlyWhenComplete) {
    typeExample();
    dir.write("r.qvs", "old recipe");
    EXPECT_EQ(save(f), kExample);
    auto filesInDir = [&] { return std::distance(std::filesystem::directory_iterator(dir.path()), {}); };
    EXPECT_EQ(filesInDir(), 1) << "no temporary file left behind";

    // A target that cannot be replaced: the save says so and nothing is lost.
    std::filesystem::create_directory(dir.path() / "taken.qvs");
    dir.write("taken.qvs/keep", "kept");
    EXPECT_EQ(saveRecipe(f.model, path("taken.qvs")), RecipeResult::Failed);
    EXPECT_EQ(f.messages.back().text, kRecipeSaveFailedText);
    EXPECT_EQ(test::readFileBytes(path("taken.qvs/keep")), "kept");
    EXPECT_EQ(filesInDir(), 2);
    EXPECT_EQ(saveRecipe(f.model, path("absent/r.qvs")), RecipeResult::Failed);
    EXPECT_EQ(test::readFileBytes(path()), kExample);
}

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(Recipe, PointDecimalsInACommaLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    bool cLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"})
        if (std::setlocale(LC_ALL, name)) {
            cLocale = true;
            break;
        }
    typeExample();
    f.typeRowRatio(1, "1.25");
    const std::string saved = save(f);
    test::TestForm g{test::kBaTiCOElementFile};
    const RecipeResult loaded = loadRecipe(g.model, path());
    const std::string numbers = formatDecimal(-1234.5) + " " + formatShortest(-1234.5);
    std::setlocale(LC_ALL, "C");
    std::locale::global(previous);
    EXPECT_NE(saved.find("\r\n2 1 1.25000 TiO2\r\n"), std::string::npos) << saved;
    EXPECT_EQ(loaded, RecipeResult::Done);
    EXPECT_EQ(g.row(1).ratio(), 1.25);
    EXPECT_EQ(g.row(1).ratioText(), "1.25");
    EXPECT_EQ(numbers, "-1234.5 -1234.5");
    EXPECT_EQ(g.model.gramsText(), "10");
    if (!cLocale) GTEST_SKIP() << "no comma-decimal C locale installed; checked the C++ one only";
}

TEST(RecipeFields, TrimBlanksAndReadNumberField) {
    const struct {
        const char* in;
        const char* out;
    } trims[] = {{"\t  -1 sample A \r\n", "-1 sample A"},
                 {" \x01\x1f x  y\x7f", "x  y\x7f"},
                 {" \t\r\n", ""},
                 {"\xe9t\xe9\xff", "\xe9t"},  // bytes above 127 go at the end only
                 {"\xe9\xe9", ""}};
    for (const auto& c : trims) {
        std::string text = c.in;
        EXPECT_EQ(trimBlanks(text), static_cast<int>(std::strlen(c.out))) << c.in;
        EXPECT_EQ(text, c.out);
    }
    double v = -1;
    EXPECT_TRUE(readNumberField("   ", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(readNumberField(" -1e-3\t", v));
    EXPECT_EQ(v, -0.001);
    const std::string padded = std::string(98, ' ') + "7";  // at most 99 characters
    EXPECT_TRUE(readNumberField(padded, v));
    EXPECT_EQ(v, 7);
    EXPECT_FALSE(readNumberField(" " + padded, v));
    for (const char* bad : {"2.5x", "1,5", "abc", "1 2", "1e999", "-1e999", "nan", "inf", "0x10"})
        EXPECT_FALSE(readNumberField(bad, v)) << bad;
}

}  // namespace
}  // namespace qv
