#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "form/element_lists.h"
#include "form/ratio_solver.h"
#include "support/test_form.h"

namespace qv {
namespace {

using test::TestForm;

// The elements of the small table start out as: metals Ca Ti Ba Fe included,
// non-metals H C O excluded. Element order: H C O Ca Ti Ba Fe.

// BaTiO3 from BaCO3 and TiO2, solved.
void bariumTitanate(TestForm& t) {
    t.type(t.final(), "BaTiO3");
    t.type(t.row(0), "BaCO3");
    t.type(t.row(1), "TiO2");
}

void include(TestForm& t, std::string_view symbol) {
    ASSERT_TRUE(t.exclude.select(symbol)) << symbol;
    moveSelectedAndSolve(t.model, t.exclude);
}

TEST(RatioSolver, SolvesBariumTitanateFromCarbonateAndOxide) {
    TestForm t;
    bariumTitanate(t);
    t.clearLog();
    EXPECT_TRUE(t.model.runSolver());
    EXPECT_EQ(t.row(1).ratioText, "1");
    EXPECT_DOUBLE_EQ(t.row(0).ratio, 1.0);
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_TRUE(t.outputEnabled());
    EXPECT_EQ(t.text(ControlId::Difference), "O3TiBa");
    EXPECT_EQ(t.model.difference.text(), "O3TiBa");
    // Counts first, then the remainder, the answer, and the refresh.
    EXPECT_EQ(t.log(), (std::vector<std::string>{"1022=2", "1021=2", "1003=O3TiBa",
                                                 std::string("1024=") + std::string(status::kSolved),
                                                 "repaint-list", "output=1",
                                                 "refresh-ratio-editor"}));

    // Oxygen included: no exact answer, the ratios cleared but still free.
    include(t, "O");
    EXPECT_EQ(t.text(ControlId::IncludeCount), "3");
    EXPECT_EQ(t.status(), "");
    EXPECT_EQ(t.row(0).ratioText, "");
    EXPECT_EQ(t.row(0).ratio, 0.0);
    EXPECT_FALSE(t.outputEnabled());
    EXPECT_EQ(t.row(0).classify(), Free);
}

TEST(RatioSolver, FailedSolveClearsRatiosBeforeReporting) {
    TestForm t;
    bariumTitanate(t);
    t.type(t.row(2), "CaO");  // three unknowns, Ba Ti Ca: solvable, Ca gets 0
    EXPECT_EQ(t.row(2).ratioText, "0");
    t.setText(t.row(2), "CO2");  // no included element: a zero column
    t.clearLog();
    EXPECT_FALSE(t.model.runSolver());
    EXPECT_EQ(t.log(), (std::vector<std::string>{"1022=2", "1021=3", "1003=O3TiBa",
                                                 "repaint-list", "refresh-ratio-editor",
                                                 "1024=", "output=0"}));
    EXPECT_EQ(t.text(ControlId::FreeCount), "3");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(t.row(i).ratioText, "") << i;
}

TEST(RatioSolver, FixedEntryIsTakenOffTheRemainder) {
    TestForm t;
    t.type(t.final(), "BaTiO3");
    t.type(t.row(0), "TiO2");
    t.typeRowRatio(0, "1");
    // Ti reaches zero and vanishes; the counts of one are implied.
    EXPECT_EQ(t.text(ControlId::Difference), "OBa");
    EXPECT_EQ(t.status(), status::kManualMode);
    EXPECT_TRUE(t.outputEnabled());
    t.typeRowRatio(0, "3");
    EXPECT_EQ(t.text(ControlId::Difference), "O-3Ti-2Ba");
    EXPECT_TRUE(t.outputEnabled());  // manual mode does not check the balance
    EXPECT_EQ(t.row(0).ratioText, "3");  // fixed ratios are never written
}

TEST(RatioSolver, InputChecksComeInOrderAndEmptyTheDifference) {
    TestForm t;
    t.type(t.row(0), "Q");  // invalid row
    EXPECT_EQ(t.status(), status::kBadFinal);
    t.type(t.final(), "BaO");
    EXPECT_EQ(t.status(), status::kBadEntry);
    t.typeFinalRatio("0");
    EXPECT_EQ(t.status(), status::kZeroFinalRatio);
    t.typeFinalRatio("4e-7");
    EXPECT_EQ(t.status(), status::kZeroFinalRatio);
    t.typeFinalRatio("1");
    EXPECT_EQ(t.status(), status::kBadEntry);
    EXPECT_EQ(t.text(ControlId::Difference), "");
    EXPECT_FALSE(t.outputEnabled());
    t.setText(t.row(0), "");
    EXPECT_EQ(t.status(), "");  // no entries at all
    EXPECT_EQ(t.text(ControlId::Difference), "OBa");
    EXPECT_FALSE(t.outputEnabled());
}

TEST(RatioSolver, MoreUnknownsThanEquationsIsRefused) {
    TestForm t;
    t.type(t.final(), "BaTiO3");
    t.type(t.row(0), "BaO");
    t.type(t.row(3), "TiO2");
    t.type(t.row(9), "BaTiO3");
    EXPECT_EQ(t.text(ControlId::IncludeCount), "2");
    EXPECT_EQ(t.text(ControlId::FreeCount), "3");
    EXPECT_EQ(t.status(), "");
    EXPECT_EQ(t.row(9).ratioText, "");
    EXPECT_FALSE(t.outputEnabled());
}

TEST(RatioSolver, SmallSolutionsShowAsZeroAndNegativesKeepTheirSign) {
    TestForm t;
    t.type(t.final(), "BaTi0.0000003");
    t.type(t.row(0), "Ba");
    t.type(t.row(1), "Ti");
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(1).ratio, 0.0);
    EXPECT_EQ(t.row(1).ratioText, "0");

    t.retype(t.final(), "Ba");
    t.retype(t.row(0), "BaTi");
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(0).ratioText, "1");
    EXPECT_EQ(t.row(1).ratioText, "-1");
    EXPECT_DOUBLE_EQ(t.row(1).ratio, -1.0);
}

// Ba: 0.1 x0 = 0.1; Ti: x1 = 1; O: x0 + 2 x1 = 3 + d. The search takes rows
// (Ba,Ti), (Ba,O), (Ti,O) in that order and keeps the first whose answer
// satisfies every equation within 5e-7.
TEST(RatioSolver, OverdeterminedSearchTakesTheFirstConsistentPairWithinTolerance) {
    TestForm t;
    t.type(t.row(0), "Ba0.1O");
    t.type(t.row(1), "TiO2");
    include(t, "O");

    t.type(t.final(), "Ba0.1TiO3.0000004");  // (Ba,Ti) leaves O off by 4e-7: accepted
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(0).ratioText, "1");
    EXPECT_EQ(t.row(1).ratioText, "1");

    t.retype(t.final(), "Ba0.1TiO3.000003");  // only (Ti,O) is close enough
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(0).ratioText, "1.000003");
    EXPECT_EQ(t.row(1).ratioText, "1");

    t.retype(t.final(), "Ba0.1TiO3.00001");  // none is
    EXPECT_EQ(t.status(), "");
    EXPECT_EQ(t.row(0).ratioText, "");
    EXPECT_FALSE(t.outputEnabled());
}

TEST(RatioSolver, RatioEditorShowsNewFreeRatiosButNotFixedOnes) {
    TestForm t;
    bariumTitanate(t);
    t.form.ratioEditorRow = 0;
    t.typeFinalRatio("3");
    EXPECT_EQ(t.form.ratioEditorText, "3");
    t.form.ratioEditorRow = 1;
    t.form.ratioEditorText = "typed";
    t.typeRowRatio(1, "3");
    EXPECT_EQ(t.form.ratioEditorText, "typed");
    EXPECT_FALSE(t.model.editorUpdateGuard);
}

}  // namespace
}  // namespace qv
