#include "editing_fixture.h"
#include "support/test_form.h"

namespace qv::testing {

// Which editing paths re-parse the entry, move it between the entry sets and
// run the solver; every solver run shows in the form's log.
class AfterChangeHookTest : public EditingTest {
protected:
    AfterChangeHookTest() { useEntry(form.row(3)); }
    // The sets holding the entry (free, invalid) and whether the solver ran since the last look.
    std::string hook() {
        std::string out = form.model.freeEntries().count(3) ? "free" : "";
        out += form.model.invalidEntries().count(3) ? "invalid" : "";
        out += form.solverRuns() > 0 ? " solved" : "";
        form.clearLog();
        return out;
    }
    test::TestForm form;
};

TEST_F(AfterChangeHookTest, KeysAndMenuCommandsRunItMovesCopiesAndClipboardMessagesDoNot) {
    type("Fe2O");
    EXPECT_EQ(hook(), "free solved");
    type(")");
    EXPECT_EQ(hook(), "invalid solved");
    press("BS");
    EXPECT_EQ(hook(), "free solved");
    press("C-Z");
    EXPECT_EQ(hook(), "invalid solved");
    press("C-A");
    EXPECT_TRUE(menu(kMenuDelete));
    EXPECT_EQ(hook(), " solved");
    type("Fe2O3");
    hook();
    EXPECT_EQ(press("S-Left Home C-A C-C End Del"), "+++++- Fe2O3 @5 none");
    clipboard.content = "Fe;";
    EXPECT_EQ(press("C-V"), "- Fe2O3 @5 none");
    EXPECT_EQ(hook(), "free");
    // The direct operations behind the clipboard messages change the text only.
    selectRange(f->edit(), 0, -1);
    EXPECT_TRUE(cutSelection(f->edit(), &clipboard, false) && pasteText(f->edit(), &clipboard, false) &&
                deleteBackward(f->edit(), false) && undo(f->edit()));
    EXPECT_EQ(hook(), "free");
    // Set-text and replace-selection take whole texts or nothing.
    setText(*f, "");
    type("Fe2O3");
    form.clickPeg(3);
    hook();
    EXPECT_EQ(setText(*f, "CaCO3;"), std::nullopt);
    EXPECT_EQ(replaceSelection(*f, "Ba"), 0);  // nothing selected
    EXPECT_EQ(hook(), "");
    EXPECT_EQ(setText(*f, "Ca CO3"), 5);
    EXPECT_EQ(hook(), "free solved");  // the peg went with the old text
    selectRange(f->edit(), 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Ba,"), 0);
    EXPECT_EQ(hook(), "free");
    EXPECT_EQ(replaceSelection(*f, "Ba"), 2);
    EXPECT_EQ(hook(), "free solved");
    EXPECT_EQ(state(), "BaCO3 @2 none");
    setText(*f, "Sr");
    undo(f->edit());  // set-text leaves the snapshot alone
    EXPECT_EQ(text(), "CaCO3");
    f->setReadOnly(true);
    selectRange(f->edit(), 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Ba"), 0);
    // Other entries: the difference is read-only and never parsed; the final compound is outside the
    // sets but solved (row 3 stays in the set of "Sr": invalid).
    EXPECT_EQ(hook(), "invalid solved");
    EXPECT_EQ(setText(form.model.difference(), "Fe2O3"), 5);
    EXPECT_TRUE(form.model.difference().composition().empty());
    EXPECT_EQ(hook(), "invalid");
    useEntry(form.final());
    type("BaTiO3");
    EXPECT_EQ(hook(), "invalid solved");
    EXPECT_FALSE(form.final().composition().empty());
}

}  // namespace qv::testing
