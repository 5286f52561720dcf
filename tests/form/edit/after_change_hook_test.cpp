#include "editing_fixture.h"
#include "support/test_form.h"

namespace qv::testing {
namespace {

// Which editing paths re-parse the entry, move it between the entry sets and
// run the solver; every solver run shows in the form's log.
class AfterChangeHookTest : public EditingTest {
protected:
    AfterChangeHookTest() { useEntry(form.row(3)); }
    bool solverRan() {
        const bool ran = form.solverRuns() > 0;
        form.clearLog();
        return ran;
    }
    bool inSet(const EntrySet& set) const { return set.count(3) == 1; }

    test::TestForm form;
    const EntrySet& freeSet = form.model.freeEntries();
    const EntrySet& invalidSet = form.model.invalidEntries();
};

TEST_F(AfterChangeHookTest, KeysAndMenuCommandsThatChangeTheTextRunIt) {
    // After each step: which set holds the entry, and one solver run.
    const auto step = [&](bool free, bool invalid) {
        EXPECT_EQ(inSet(freeSet), free);
        EXPECT_EQ(inSet(invalidSet), invalid);
        EXPECT_TRUE(solverRan());
    };
    type("Fe2O");
    step(true, false);
    type(")");
    step(false, true);
    key(kKeyBackspace);
    step(true, false);
    key('Z', kModCtrl);
    step(false, true);
    key('A', kModCtrl);
    EXPECT_TRUE(contextCommand(*f, kMenuDelete, context));
    step(false, false);
}

TEST_F(AfterChangeHookTest, MovesCopiesRefusalsAndClipboardMessagesDoNot) {
    type("Fe2O3");
    form.clearLog();
    key(kKeyLeft, kModShift);
    key(kKeyHome);
    key('A', kModCtrl);
    key('C', kModCtrl);
    key(kKeyEnd);
    EXPECT_FALSE(key(kKeyDelete));
    clipboard.content = "Fe;";
    EXPECT_FALSE(key('V', kModCtrl));
    EXPECT_FALSE(solverRan());
    // The direct operations behind the clipboard messages change the text only.
    selectRange(f->edit(), 0, -1);
    EXPECT_TRUE(cutSelection(f->edit(), &clipboard, false));
    EXPECT_TRUE(pasteText(f->edit(), &clipboard, false));
    EXPECT_TRUE(deleteBackward(f->edit(), false));
    EXPECT_TRUE(undo(f->edit()));
    EXPECT_TRUE(inSet(freeSet));
    EXPECT_FALSE(solverRan());
}

TEST_F(AfterChangeHookTest, SetTextAndReplaceSelectionTakeWholeTextsOrNothing) {
    type("Fe2O3");
    form.clickPeg(3);
    form.clearLog();
    EXPECT_EQ(setText(*f, "CaCO3;"), std::nullopt);
    EXPECT_EQ(replaceSelection(*f, "Ba"), 0);  // nothing selected
    EXPECT_FALSE(solverRan());
    EXPECT_EQ(setText(*f, "Ca CO3"), 5);
    EXPECT_TRUE(inSet(freeSet));  // the peg went with the old text
    EXPECT_TRUE(solverRan());
    selectRange(f->edit(), 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Ba,"), 0);
    EXPECT_FALSE(solverRan());
    EXPECT_EQ(replaceSelection(*f, "Ba"), 2);
    EXPECT_TRUE(solverRan());
    EXPECT_EQ(state(), "BaCO3 @2 none");
    setText(*f, "Sr");
    undo(f->edit());  // set-text leaves the snapshot alone
    EXPECT_EQ(text(), "CaCO3");
    f->setReadOnly(true);
    selectRange(f->edit(), 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Ba"), 0);
}

TEST_F(AfterChangeHookTest, OtherEntries) {
    Formula& difference = form.model.difference();
    EXPECT_EQ(setText(difference, "Fe2O3"), 5);  // read-only: never parsed
    EXPECT_TRUE(difference.composition().empty());
    EXPECT_FALSE(solverRan());

    form.row(4).setEntry("Ca CO3", 1.5, true);  // no solver run
    EXPECT_EQ(form.row(4).classify(), Fixed);
    EXPECT_EQ(form.row(4).text(), "CaCO3");
    EXPECT_FALSE(solverRan());

    useEntry(form.final());  // outside the sets, still solved
    type("BaTiO3");
    EXPECT_TRUE(solverRan());
    EXPECT_FALSE(form.final().composition().empty());
}

}  // namespace
}  // namespace qv::testing
