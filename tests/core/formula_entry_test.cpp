#include <clocale>
#include <cmath>

#include <gtest/gtest.h>

#include "core/model.h"
#include "support/test_form.h"

namespace qv {
namespace {

using test::TestForm;

TEST(ModelEntries, StartWithTheirIndicesRolesAndNoSets) {
    Model model;
    EXPECT_EQ(model.finalCompound.index, -1);
    EXPECT_FALSE(model.finalCompound.inList);
    EXPECT_FALSE(model.finalCompound.readOnly);
    EXPECT_EQ(model.difference.index, -2);
    EXPECT_TRUE(model.difference.readOnly);
    EXPECT_FALSE(model.difference.inList);
    for (int row = 0; row < kSourceRows; ++row) {
        EXPECT_EQ(model.source(row).index, row);
        EXPECT_TRUE(model.source(row).inList);
        EXPECT_EQ(model.source(row).classify(), Empty);
        EXPECT_EQ(model.source(row).model, &model);
    }
    EXPECT_TRUE(model.freeEntries.empty());
    EXPECT_FALSE(model.runSolver());  // no form attached yet
}

TEST(EntrySets, TypingAndPegMoveTheRowBetweenSets) {
    TestForm t;
    Formula& row = t.row(4);
    t.type(row, "Fe2O3");
    EXPECT_EQ(row.classify(), Free);
    EXPECT_EQ(t.model.freeEntries.count(4), 1u);
    EXPECT_EQ(t.model.freeEntries.at(4), &row);

    t.clickPeg(4);
    EXPECT_EQ(row.classify(), Fixed);
    EXPECT_EQ(t.model.freeEntries.count(4), 0u);
    EXPECT_EQ(t.model.fixedEntries.count(4), 1u);

    t.clickPeg(4);
    EXPECT_EQ(t.model.freeEntries.count(4), 1u);
    EXPECT_TRUE(t.model.fixedEntries.empty());
}

TEST(EntrySets, UnbalancedBracketMakesTheRowInvalidUntilDeleted) {
    TestForm t;
    Formula& row = t.row(0);
    t.type(row, "Fe2O)");
    EXPECT_EQ(row.classify(), Invalid);
    EXPECT_FALSE(row.valid);
    EXPECT_TRUE(row.composition.empty());
    EXPECT_EQ(row.tree, nullptr);
    EXPECT_EQ(t.model.invalidEntries.count(0), 1u);
    EXPECT_TRUE(t.model.freeEntries.empty());
    // The failed parse released what "Fe2O" had registered.
    EXPECT_EQ(t.model.elementUse.count(t.element("Fe")), 0u);

    t.backspace(row);
    EXPECT_EQ(row.classify(), Free);
    EXPECT_TRUE(t.model.invalidEntries.empty());
    EXPECT_EQ(t.model.freeEntries.count(0), 1u);
    EXPECT_DOUBLE_EQ(row.composition.at(t.element("Fe")), 2.0);
}

TEST(EntrySets, FinalCompoundAndMissingEntryAreNeverInASet) {
    TestForm t;
    t.type(t.row(1), "BaO");
    t.type(t.final(), "BaTiO3");
    EXPECT_EQ(t.model.updateEntrySets(&t.final()), -2);
    EXPECT_EQ(t.model.updateEntrySets(&t.model.difference), -2);
    EXPECT_EQ(t.model.updateEntrySets(nullptr), -2);
    EXPECT_EQ(t.model.freeEntries.size(), 1u);
    EXPECT_TRUE(t.model.fixedEntries.empty());
    EXPECT_TRUE(t.model.invalidEntries.empty());
}

TEST(EntrySets, EmptyFormulaWithMalformedRatioIsInvalid) {
    TestForm t;
    t.typeRowRatio(3, "abc");
    EXPECT_EQ(t.row(3).classify(), Invalid);
    EXPECT_EQ(t.model.invalidEntries.count(3), 1u);
    t.typeRowRatio(3, "");
    EXPECT_EQ(t.row(3).classify(), Empty);
    EXPECT_TRUE(t.model.invalidEntries.empty());
}

TEST(EntrySets, ResettingEveryRowEmptiesAllSetsAndTheUseMap) {
    TestForm t;
    t.type(t.row(0), "BaCO3");
    t.type(t.row(1), "TiO2");
    t.clickPeg(1);
    t.type(t.row(2), "Q");
    t.typeRowRatio(5, "x");
    for (int i = 0; i < kSourceRows; ++i) t.row(i).resetEntry();
    EXPECT_TRUE(t.model.freeEntries.empty());
    EXPECT_TRUE(t.model.fixedEntries.empty());
    EXPECT_TRUE(t.model.invalidEntries.empty());
    EXPECT_TRUE(t.model.elementUse.empty());
    EXPECT_TRUE(t.include.items().empty());
    EXPECT_TRUE(t.exclude.items().empty());
}

TEST(RatioText, TypingFixesTheRowAndOnlyThePegFreesIt) {
    TestForm t;
    Formula& row = t.row(0);
    t.type(row, "TiO2");
    t.typeRowRatio(0, "2.5");
    EXPECT_TRUE(row.fixed);
    EXPECT_DOUBLE_EQ(row.ratio, 2.5);
    EXPECT_EQ(t.model.fixedEntries.count(0), 1u);

    t.typeRowRatio(0, "");
    EXPECT_TRUE(row.fixed);
    EXPECT_EQ(row.ratio, 0.0);
    EXPECT_EQ(row.classify(), Fixed);

    t.typeRowRatio(0, "2.5x");
    EXPECT_FALSE(row.ratioValid);
    EXPECT_DOUBLE_EQ(row.ratio, 2.5);  // the leading number still counts
    EXPECT_EQ(row.classify(), Invalid);

    t.typeRowRatio(0, "1e-3");
    EXPECT_TRUE(row.ratioValid);
    EXPECT_DOUBLE_EQ(row.ratio, 0.001);
}

TEST(RatioText, NonFiniteNumbersAreRefused) {
    Formula f;
    for (const char* text : {"inf", "-INF", "nan", "1e999"}) {
        f.ratioText = text;
        EXPECT_FALSE(f.parseRatioText()) << text;
        EXPECT_EQ(f.ratio, 0.0) << text;
    }
    f.ratioText = "-";
    EXPECT_FALSE(f.parseRatioText());
    EXPECT_EQ(f.ratio, 0.0);
}

TEST(RatioText, ReadsAPointWhateverTheLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    Formula f;
    f.ratioText = "2.5";
    const bool ok = f.parseRatioText();
    f.setRatio(0.25);
    const std::string shown = f.ratioText;
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(f.ratio, 0.25);
    EXPECT_EQ(shown, "0.25");
}

TEST(SetEntry, SetsTextRatioAndPegWithoutRunningTheSolver) {
    TestForm t;
    Formula& row = t.row(7);
    EXPECT_EQ(row.setEntry("CaCO3", 1.5, true), Fixed);
    EXPECT_EQ(row.text(), "CaCO3");
    EXPECT_EQ(row.ratioText, "1.5");
    EXPECT_DOUBLE_EQ(row.ratio, 1.5);
    EXPECT_EQ(t.model.fixedEntries.count(7), 1u);
    EXPECT_EQ(t.model.elementUse.at(t.element("Ca")), 1);
    EXPECT_TRUE(t.log().empty());  // the solver did not run

    EXPECT_EQ(row.setEntry("", 0.0, false), Empty);
    EXPECT_EQ(row.ratioText, "0");
    EXPECT_TRUE(t.model.fixedEntries.empty());
    EXPECT_TRUE(t.model.elementUse.empty());
}

TEST(SetEntry, InsertsLikeTheEditorSkippingBlanksAndStoppingAtRefusedCharacters) {
    TestForm t;
    EXPECT_EQ(t.row(0).setEntry(" Ca CO3 ", 1.0, false), Free);
    EXPECT_EQ(t.row(0).text(), "CaCO3");
    EXPECT_EQ(t.row(1).setEntry("Ba,TiO3", 1.0, false), Free);
    EXPECT_EQ(t.row(1).text(), "Ba");
    const std::string longText(600, 'H');
    t.row(2).setEntry(longText, 1.0, false);
    EXPECT_EQ(t.row(2).length, kFormulaCapacity);
}

TEST(Reparse, CountsEveryEntryUsingAnElement) {
    TestForm t;
    const int ba = t.element("Ba");
    t.type(t.final(), "Ba");
    t.type(t.row(0), "BaCO3");
    EXPECT_EQ(t.model.elementUse.at(ba), 2);
    t.setText(t.row(0), "");
    EXPECT_EQ(t.model.elementUse.at(ba), 1);
    EXPECT_EQ(t.include.texts(), std::vector<std::string>{"Ba"});

    // Re-parsing the same text must not count it twice.
    EXPECT_EQ(t.final().reparse(), 1);
    EXPECT_EQ(t.model.elementUse.at(ba), 1);
    t.final().clearParse();
    EXPECT_TRUE(t.model.elementUse.empty());
    EXPECT_EQ(t.final().reparse(), 1);
    EXPECT_EQ(t.model.elementUse.at(ba), 1);
}

TEST(RecomputeComposition, OnlyParsedEntriesAreEvaluatedAndCountsStay) {
    TestForm t;
    t.type(t.row(0), "Ca(OH)2");
    t.type(t.row(1), "Ca(");
    const Composition before = t.row(0).composition;
    const auto use = t.model.elementUse;
    EXPECT_TRUE(t.row(0).recomputeComposition());
    EXPECT_EQ(t.row(0).composition, before);
    EXPECT_EQ(t.model.elementUse, use);
    EXPECT_FALSE(t.row(1).recomputeComposition());
    EXPECT_TRUE(t.row(1).composition.empty());
    EXPECT_FALSE(t.row(2).recomputeComposition());
    EXPECT_TRUE(t.row(2).composition.empty());
}

}  // namespace
}  // namespace qv
