#include "editing_fixture.h"
#include "support/test_form.h"

namespace qv::testing {
namespace {

// Which editing paths re-parse the entry, move it between the entry sets and
// run the solver. The solver's runs show in the form's log.
class AfterChangeHookTest : public EditingTest {
protected:
    AfterChangeHookTest() {
        useEntry(form.row(3));
        copyStyle(form.final(), *f);
        copyStyle(form.model.difference, *f);
    }
    bool solverRan() {
        const bool ran = !form.log().empty();
        form.clearLog();
        return ran;
    }
    bool isFree() const { return form.model.freeEntries.count(3) == 1; }
    bool isInvalid() const { return form.model.invalidEntries.count(3) == 1; }

    test::TestForm form;
};

TEST_F(AfterChangeHookTest, KeysThatChangeTheTextRunIt) {
    type("Fe2O");
    EXPECT_TRUE(isFree());
    EXPECT_TRUE(solverRan());
    type(")");
    EXPECT_TRUE(isInvalid());
    EXPECT_FALSE(isFree());
    EXPECT_TRUE(solverRan());
    key(kKeyBackspace);
    EXPECT_TRUE(isFree());
    EXPECT_TRUE(solverRan());
    key('Z', kModCtrl);
    EXPECT_TRUE(isInvalid());
    EXPECT_TRUE(solverRan());
    key('A', kModCtrl);
    key(kKeyDelete);
    EXPECT_TRUE(form.model.invalidEntries.empty());
    EXPECT_TRUE(form.model.freeEntries.empty());
    EXPECT_TRUE(solverRan());
}

TEST_F(AfterChangeHookTest, MovesCopiesAndRefusalsDoNot) {
    type("Fe2O3");
    form.clearLog();
    for (int vk : {kKeyLeft, kKeyHome, kKeyEnd}) key(vk, kModShift);
    key('A', kModCtrl);
    key('C', kModCtrl);
    key(kKeyRight);
    EXPECT_FALSE(key(kKeyDelete));  // at the end
    EXPECT_FALSE(key(kKeyPeriod, kModCtrl));
    clipboard.content = "Fe;";
    EXPECT_FALSE(key('V', kModCtrl));
    EXPECT_FALSE(contextCommand(*f, kMenuCopy, context));  // nothing selected
    EXPECT_FALSE(solverRan());
}

TEST_F(AfterChangeHookTest, ClipboardMessagePathsLeaveTheParseAlone) {
    type("Fe2O3");
    form.clearLog();
    selectRange(*f, 0, -1);
    EXPECT_TRUE(cutSelection(*f, &clipboard, false));
    EXPECT_TRUE(isFree());  // not re-parsed: still in the set
    EXPECT_FALSE(f->composition.empty());
    EXPECT_TRUE(pasteText(*f, &clipboard, false));
    EXPECT_TRUE(deleteBackward(*f, false));
    EXPECT_TRUE(undo(*f));
    EXPECT_FALSE(solverRan());
    clipboard.content = "CaCO3";
    EXPECT_TRUE(contextCommand(*f, kMenuPaste, context));
    EXPECT_TRUE(solverRan());
    EXPECT_TRUE(isFree());
}

TEST_F(AfterChangeHookTest, SetTextAndReplaceSelection) {
    type("Fe2O3");
    form.clickPeg(3);
    EXPECT_TRUE(form.model.fixedEntries.count(3));
    form.clearLog();
    EXPECT_EQ(setText(*f, "Ca CO3"), 5);
    EXPECT_TRUE(isFree());  // set-text clears the peg
    EXPECT_TRUE(solverRan());
    EXPECT_EQ(setText(*f, "CaCO3;"), -1);
    EXPECT_FALSE(solverRan());
    selectRange(*f, 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Ba"), 2);
    EXPECT_EQ(text(), "BaCO3");
    EXPECT_TRUE(solverRan());
    EXPECT_EQ(replaceSelection(*f, "Ba"), 0);  // no selection left
    EXPECT_FALSE(solverRan());
    EXPECT_TRUE(isFree());
}

TEST_F(AfterChangeHookTest, TheReadOnlyDifferenceIsNeverParsed) {
    Formula& difference = form.model.difference;
    EXPECT_EQ(setText(difference, "Fe2O3"), 5);
    EXPECT_TRUE(difference.composition.empty());
    EXPECT_EQ(difference.tree, nullptr);
    EXPECT_FALSE(solverRan());
}

TEST_F(AfterChangeHookTest, TheFinalCompoundRunsTheSolverOutsideTheSets) {
    useEntry(form.final());
    type("BaTiO3");
    EXPECT_TRUE(solverRan());
    EXPECT_FALSE(form.final().composition.empty());
    EXPECT_TRUE(form.model.freeEntries.empty());
}

TEST_F(AfterChangeHookTest, SetEntryInsertsThroughTheEditorWithoutTheSolver) {
    EXPECT_EQ(f->setEntry("Ca CO3", 1.5, true), Fixed);
    EXPECT_EQ(text(), "CaCO3");
    EXPECT_TRUE(layoutConsistent(*f));
    EXPECT_FALSE(solverRan());
}

}  // namespace
}  // namespace qv::testing
