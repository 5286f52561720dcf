#include <gtest/gtest.h>

#include "form/edit/editing_fixture.h"
#include "form/element_lists.h"
#include "form/model.h"
#include "support/test_form.h"

namespace qv {
namespace {

using test::TestForm;

TEST(EntrySets, TypingPegAndBracketsMoveTheRowBetweenSets) {
    TestForm t;
    Formula& row = t.row(4);
    t.type(row, "Fe2O3");
    EXPECT_EQ(row.classify(), Free);
    EXPECT_EQ(t.model.freeEntries().at(4), &row);
    t.clickPeg(4);
    EXPECT_EQ(row.classify(), Fixed);
    EXPECT_EQ(t.model.freeEntries().count(4), 0u);
    EXPECT_EQ(t.model.fixedEntries().count(4), 1u);
    t.clickPeg(4);
    EXPECT_EQ(t.model.freeEntries().count(4), 1u);
    EXPECT_TRUE(t.model.fixedEntries().empty());

    // The sets follow the brackets as the after-change hook tests show; here
    // the parse results and the element use.
    t.type(row, ")");
    EXPECT_EQ(row.classify(), Invalid);
    EXPECT_TRUE(row.composition().empty());
    EXPECT_EQ(row.tree(), nullptr);
    EXPECT_EQ(t.model.elementUse().count(t.element("Fe")), 0u) << "the failed parse releases its elements";
    t.backspace(row);
    EXPECT_EQ(row.classify(), Free);
    EXPECT_DOUBLE_EQ(row.composition().at(t.element("Fe")), 2.0);

    // An empty formula with a malformed ratio is invalid too.
    t.typeRowRatio(3, "abc");
    EXPECT_EQ(t.model.invalidEntries().count(3), 1u);
    t.typeRowRatio(3, "");
    EXPECT_EQ(t.row(3).classify(), Empty);
    EXPECT_TRUE(t.model.invalidEntries().empty());
}

TEST(EntrySets, FinalCompoundAndMissingEntryAreNeverInASet) {
    TestForm t;
    t.type(t.row(1), "BaO");
    t.type(t.final(), "BaTiO3");
    t.model.textChanged(t.final());
    setText(t.model.difference(), "BaO");
    t.model.textChanged(t.model.difference());
    EXPECT_EQ(t.model.freeEntries().size(), 1u);
    EXPECT_TRUE(t.model.fixedEntries().empty() && t.model.invalidEntries().empty());
}

TEST(EntrySets, ClearAllEmptiesEverySetEvenWhereEditsSkippedTheHook) {
    TestForm t;
    t.type(t.final(), "BaO");
    t.type(t.row(0), "BaCO3");
    t.type(t.row(1), "TiO2");
    t.clickPeg(1);
    t.type(t.row(2), "Q");
    t.typeRowRatio(5, "x");
    // The edit control's clipboard messages leave a row in the set of its
    // old text until the next edit: clear, undo to an empty snapshot, paste.
    t.type(t.row(3), "Fe2O3");
    selectRange(t.row(3).edit(), 0, -1);
    deleteForward(t.row(3).edit(), false);
    t.type(t.row(4), "CaO");
    undo(t.row(4).edit());
    t.type(t.row(6), "TiO");
    testing::FakeClipboard clipboard;
    clipboard.content = "Ti";
    pasteWithoutHook(t.row(6), &clipboard);
    EXPECT_EQ(t.model.freeEntries().size(), 4u);
    t.clickPeg(7);  // a solver run meanwhile copes with them

    t.model.clearAll();
    EXPECT_TRUE(t.model.freeEntries().empty() && t.model.fixedEntries().empty() &&
                t.model.invalidEntries().empty());
    EXPECT_TRUE(t.model.elementUse().empty());
    EXPECT_TRUE(t.include.items().empty() && t.exclude.items().empty());
}

TEST(RatioText, TypingFixesTheRowAndOnlyThePegFreesIt) {
    TestForm t;
    Formula& row = t.row(0);
    t.type(row, "TiO2");
    t.typeRowRatio(0, "2.5");
    EXPECT_DOUBLE_EQ(row.ratio(), 2.5);
    EXPECT_EQ(t.model.fixedEntries().count(0), 1u);
    t.typeRowRatio(0, "");
    EXPECT_EQ(row.ratio(), 0.0);
    EXPECT_EQ(row.classify(), Fixed);
    t.typeRowRatio(0, "2.5x");
    EXPECT_FALSE(row.ratioValid());
    EXPECT_DOUBLE_EQ(row.ratio(), 2.5) << "the leading number still counts";
    EXPECT_EQ(row.classify(), Invalid);
    t.typeRowRatio(0, "1e-3");
    EXPECT_TRUE(row.ratioValid());
    EXPECT_DOUBLE_EQ(row.ratio(), 0.001);

    Formula f;
    for (const char* text : {"inf", "-INF", "nan", "1e999", "-"}) {
        EXPECT_FALSE(f.setRatioText(text)) << text;
        EXPECT_EQ(f.ratio(), 0.0) << text;
    }
}

TEST(SetEntry, SetsTextRatioAndPegWithoutRunningTheSolver) {
    TestForm t;
    Formula& row = t.row(7);
    row.setEntry("CaCO3", 1.5, true);
    EXPECT_EQ(row.classify(), Fixed);
    EXPECT_EQ(row.text(), "CaCO3");
    EXPECT_EQ(row.ratioText(), "1.5");
    EXPECT_EQ(t.model.fixedEntries().count(7), 1u);
    EXPECT_EQ(t.model.elementUse().at(t.element("Ca")), 1);
    EXPECT_EQ(t.solverRuns(), 0);
    row.setEntry("", 0.0, false);
    EXPECT_EQ(row.classify(), Empty);
    EXPECT_EQ(row.ratioText(), "0");
    EXPECT_TRUE(t.model.fixedEntries().empty() && t.model.elementUse().empty());

    // Inserted like the editor: blanks skipped, a refused character stops it, at most 480.
    t.row(0).setEntry(" Ca CO3 ", 1.0, false);
    EXPECT_EQ(t.row(0).classify(), Free);
    EXPECT_EQ(t.row(0).text(), "CaCO3");
    t.row(1).setEntry("Ba,TiO3", 1.0, false);
    EXPECT_EQ(t.row(1).classify(), Free);
    EXPECT_EQ(t.row(1).text(), "Ba");
    t.row(2).setEntry(std::string(600, 'H'), 1.0, false);
    EXPECT_EQ(t.row(2).edit().length(), 480);
}

}  // namespace
}  // namespace qv
