#include <gtest/gtest.h>

#include "recipe/recipe_file.h"
#include "solver/ratio_solver.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr std::string_view kExample =
    "-2 1100\r\n"
    "-1 sample A\r\n"
    "0 10.00000 1.00000 BaTiO3\r\n"
    "1 0 1.00000 BaCO3\r\n"
    "2 1 1.00000 TiO2\r\n";

class RecipeLoad : public ::testing::Test {
protected:
    int load(std::string_view bytes) { return loadRecipe(f.model, dir.write("r.qvs", bytes)); }

    void expectExampleLoaded() {
        EXPECT_EQ(f.text(ControlId::SampleTag), "sample A");
        EXPECT_EQ(f.final().text(), "BaTiO3");
        EXPECT_EQ(f.text(ControlId::FinalRatio), "1");
        EXPECT_EQ(f.text(ControlId::Mass), "10");
        EXPECT_EQ(f.row(0).text(), "BaCO3");
        EXPECT_EQ(f.row(0).classify(), Free);
        EXPECT_EQ(f.row(1).text(), "TiO2");
        EXPECT_EQ(f.row(1).classify(), Fixed);
        EXPECT_EQ(f.row(1).ratioText, "1");
        EXPECT_EQ(f.status(), status::kSolved);
        EXPECT_TRUE(f.outputEnabled());
        EXPECT_EQ(f.include.texts(), (std::vector<std::string>{"Ba", "Ti"}));
        EXPECT_EQ(f.exclude.texts(), (std::vector<std::string>{"C", "O"}));
    }

    // After a failed load: the message, an empty form and the default flags.
    void expectFailedAndCleared(int result) {
        EXPECT_EQ(result, 1);
        ASSERT_FALSE(f.form.messages.empty());
        EXPECT_EQ(f.form.messages.back().text, "Failed to load a file.");
        EXPECT_EQ(f.form.messages.back().title, "Quorvex : File I/O Error");
        EXPECT_EQ(f.form.messages.back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(f.final().length, 0);
        for (int row = 0; row < kSourceRows; ++row) EXPECT_EQ(f.row(row).classify(), Empty);
        EXPECT_EQ(f.text(ControlId::Mass), "1");
        EXPECT_EQ(f.text(ControlId::FinalRatio), "1");
        EXPECT_FALSE(f.outputEnabled());
        EXPECT_TRUE(f.model.elementUse.empty());
        EXPECT_EQ(f.include.itemCount() + f.exclude.itemCount(), 0);
        EXPECT_EQ(f.model.elementTable.includeFlagsText(), "1100");
        EXPECT_TRUE(f.form.fatals.empty());
    }

    test::TempDir dir;
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(RecipeLoad, ExampleFileFillsTheForm) {
    f.form.setFocus(ControlId::Mass);
    EXPECT_EQ(load(kExample), 0);
    expectExampleLoaded();
    EXPECT_EQ(f.form.focus, static_cast<int>(ControlId::SampleTag));
    EXPECT_TRUE(f.form.messages.empty());
}

TEST_F(RecipeLoad, AnyLineEndBlankLinesAndTrailingBlanks) {
    std::string lf(kExample), cr(kExample);
    std::erase(lf, '\r');
    std::erase(cr, '\n');
    for (const std::string& bytes : {lf, cr, std::string(kExample) + "\r\n\r\n"}) {
        EXPECT_EQ(load(bytes), 0) << bytes;
        expectExampleLoaded();
    }
    EXPECT_EQ(load("\n  \t\n-2    1100   \n\r\n-1   sample A \t \n\n"
                   "0   10    1   BaTiO3   \n 1  0  1  BaCO3\n2 1 1 TiO2 \x1a"),
              0);
    expectExampleLoaded();
}

TEST_F(RecipeLoad, RowNumbersMayHaveGapsAndLaterLinesWin) {
    EXPECT_EQ(load("0 5 1 BaTiO3\n7 1 2.5 BaO\n30 1 1 TiO2\n7 1 1 BaO\n"), 0);
    EXPECT_EQ(f.row(6).text(), "BaO");
    EXPECT_EQ(f.row(6).ratio, 1.0);
    EXPECT_EQ(f.row(29).text(), "TiO2");
    EXPECT_EQ(f.row(0).classify(), Empty);
    EXPECT_EQ(f.status(), status::kManualMode);
}

TEST_F(RecipeLoad, SampleTagStaysWithoutItsLine) {
    f.form.setControlText(ControlId::SampleTag, "before");
    EXPECT_EQ(load("0 1 1 BaTiO3\n"), 0);
    EXPECT_EQ(f.text(ControlId::SampleTag), "before");
    EXPECT_EQ(load("-1\n"), 0);
    EXPECT_EQ(f.text(ControlId::SampleTag), "");
}

TEST_F(RecipeLoad, FlagsLongerThanTheTableLoad) {
    EXPECT_EQ(load("-2 0011011\n0 1 1 BaTiO3\n"), 0);
    EXPECT_EQ(f.model.elementTable.includeFlagsText(), "0011");
    EXPECT_EQ(f.include.texts(), (std::vector<std::string>{"O"}));
    EXPECT_EQ(f.exclude.texts(), (std::vector<std::string>{"Ba", "Ti"}));
}

TEST_F(RecipeLoad, FlagsAfterFormulasMoveListedElements) {
    EXPECT_EQ(load("0 1 1 BaTiO3\n1 0 1 BaCO3\n-2 0111\n"), 0);
    EXPECT_EQ(f.include.texts(), (std::vector<std::string>{"C", "O", "Ti"}));
    EXPECT_EQ(f.exclude.texts(), (std::vector<std::string>{"Ba"}));
    EXPECT_EQ(f.text(ControlId::IncludeCount), "3");
}

TEST_F(RecipeLoad, EveryMalformedFileFailsAndClearsTheForm) {
    const char* const files[] = {
        "abc\n",                     // no kind
        "- 1\n",                     // sign without digits
        "-3 x\n",                    // unknown kinds
        "31 0 1 BaO\n",
        "99999999999999999999 0 1 BaO\n",
        "0\n",                       // missing mass
        "0 x 1 BaTiO3\n",
        "0 10\n",                    // missing ratio
        "0 10 BaTiO3\n",
        "0 1e999 1 BaTiO3\n",        // mass too large for a double
        "1 0 BaO\n",                 // missing ratio of a row
        "1 x 1 BaO\n",               // missing fix flag
        "1\n",
        "-2 110\n",                  // flags shorter than the table
        "-2 11x0\n",
        "-2 11002\n",                // a bad character beyond the table
        "-2\n",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        // The good part of the file is applied before the bad line is met.
        expectFailedAndCleared(load(std::string("-2 0011\n-1 tag\n0 2 1 BaTiO3\n1 1 1 BaO\n") + file));
        EXPECT_EQ(f.text(ControlId::SampleTag), "tag");
    }
}

TEST_F(RecipeLoad, UnreadableFilesFail) {
    expectFailedAndCleared(loadRecipe(f.model, dir.path().string() + "/absent.qvs"));
    // Opening a folder works, reading it does not: a read error.
    expectFailedAndCleared(loadRecipe(f.model, dir.path().string()));
}

TEST_F(RecipeLoad, LongLinesAreReadInPiecesOf1023Bytes) {
    const std::string tag(1020, 't');
    EXPECT_EQ(load("-1 " + tag + "\r\n0 1 1 BaTiO3\r\n"), 0);
    EXPECT_EQ(f.text(ControlId::SampleTag), tag);
    // One more byte starts a second piece, which is no line of its own.
    expectFailedAndCleared(load("-1 " + tag + "x\r\n0 1 1 BaTiO3\r\n"));
    EXPECT_EQ(f.text(ControlId::SampleTag), tag);
    // A piece that happens to be a line of its own is applied as one.
    EXPECT_EQ(load("-1 " + std::string(1020, ' ') + "1 0 1 TiO2\n0 1 1 BaTiO3\n"), 0);
    EXPECT_EQ(f.row(0).text(), "TiO2");
}

}  // namespace
}  // namespace qv
