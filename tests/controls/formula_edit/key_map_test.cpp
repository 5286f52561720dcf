#include "editing_fixture.h"

namespace qv::testing {
namespace {

using KeyMapTest = EditingTest;

TEST_F(KeyMapTest, LettersFollowShiftNotCapsLock) {
    type("fe2o3");
    EXPECT_EQ(text(), "fe2o3");
    setText(*f, "");
    type("Fe2O3");
    EXPECT_EQ(text(), "Fe2O3");
    EXPECT_EQ(f->cells[0].fullSize, 1);
    EXPECT_EQ(f->cells[2].fullSize, 0);
}

TEST_F(KeyMapTest, BracketsDigitsKeypadAndPoint) {
    type("Ca(OH)2");
    key(kKeyMinus, kModShift);  // Shift+minus is still a minus
    key(kKeyNumpad0 + 7);
    key(kKeyDecimal);
    key(kKeyNumpad9, kModShift);
    key(kKeyNumpad0, kModShift);
    EXPECT_EQ(text(), "Ca(OH)2-7.()");
    EXPECT_EQ(f->cells[2].fullSize, 1);
    EXPECT_EQ(f->cells[6].fullSize, 0);
}

TEST_F(KeyMapTest, OtherModifierCombinationsTypeNothing) {
    EXPECT_FALSE(key(kKeyPeriod, kModCtrl));
    EXPECT_FALSE(key('5', kModCtrl));
    EXPECT_FALSE(key('5', kModShift));
    EXPECT_FALSE(key('F', kModAlt));
    EXPECT_FALSE(key('F', kModCtrl | kModShift));
    EXPECT_FALSE(key(kKeyTab));
    EXPECT_FALSE(key(kKeyUp));
    EXPECT_EQ(f->length, 0);
    EXPECT_EQ(hiddenMessages, 0);
    EXPECT_FALSE(key('J', kModCtrl | kModShift));
    EXPECT_EQ(hiddenMessages, 1);
    EXPECT_EQ(f->length, 0);
}

TEST_F(KeyMapTest, ArrowsMoveAndExtend) {
    type("Fe2O3");
    EXPECT_TRUE(key(kKeyLeft));
    EXPECT_TRUE(key(kKeyLeft, kModShift));
    EXPECT_TRUE(key(kKeyLeft, kModShift));
    auto sel = getSelection(*f);
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->first, 2);
    EXPECT_EQ(sel->last, 3);
    EXPECT_EQ(f->caret, 2);
    EXPECT_TRUE(key(kKeyRight));  // collapses at the right end
    EXPECT_FALSE(getSelection(*f));
    EXPECT_EQ(f->caret, 4);
    EXPECT_TRUE(key(kKeyLeft, kModCtrl));
    EXPECT_EQ(f->caret, 0);
    EXPECT_FALSE(key(kKeyLeft, kModShift));
    EXPECT_TRUE(key(kKeyRight, kModCtrl));
    EXPECT_EQ(f->caret, 5);
    EXPECT_FALSE(key(kKeyRight));
    EXPECT_FALSE(key(kKeyRight, kModShift));
    EXPECT_FALSE(key(kKeyRight, kModAlt));
}

TEST_F(KeyMapTest, ShiftHomeAndEndRunToTheOldActiveEnd) {
    type("CaCO3BaTiO");
    for (int i = 0; i < 5; ++i) key(kKeyLeft);
    EXPECT_TRUE(key(kKeyHome, kModShift));
    auto sel = getSelection(*f);
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->first, 0);
    EXPECT_EQ(sel->last, 4);
    EXPECT_EQ(f->caret, 0);
    EXPECT_TRUE(key(kKeyEnd, kModShift));
    sel = getSelection(*f);
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->first, 5);
    EXPECT_EQ(sel->last, 9);
    EXPECT_TRUE(key(kKeyHome));
    EXPECT_FALSE(getSelection(*f));
}

TEST_F(KeyMapTest, AfterFocusGainedShiftArrowsAtTheEndDoNothing) {
    type("Fe2O3");
    focusGained(*f);
    EXPECT_EQ(f->caret, 5);
    EXPECT_FALSE(key(kKeyLeft, kModShift));
    EXPECT_FALSE(key(kKeyRight, kModShift));
    type("4");  // still typed at the caret
    EXPECT_EQ(text(), "Fe2O34");
}

TEST_F(KeyMapTest, BackspaceDeleteAndTheUndoThatRedoes) {
    type("Fe2O3");
    key(kKeyLeft);
    EXPECT_TRUE(key(kKeyBackspace));
    EXPECT_EQ(text(), "Fe23");
    EXPECT_TRUE(key('Z', kModCtrl));
    EXPECT_EQ(text(), "Fe2O3");
    EXPECT_EQ(f->caret, 4);
    EXPECT_TRUE(key('Z', kModCtrl));
    EXPECT_EQ(text(), "Fe23");
    EXPECT_TRUE(key(kKeyDelete, kModShift));  // Delete acts with any modifier
    EXPECT_EQ(text(), "Fe2");
    EXPECT_FALSE(key(kKeyDelete));
    key(kKeyHome);
    EXPECT_FALSE(key(kKeyBackspace));
}

TEST_F(KeyMapTest, UndoOfPlainTypingGoesBackToTheLastSnapshot) {
    type("Fe");
    key('Z', kModCtrl);  // a new entry's snapshot is empty
    EXPECT_EQ(text(), "");
    key('Z', kModCtrl);
    EXPECT_EQ(text(), "Fe");
    EXPECT_EQ(f->caret, 2);
}

TEST_F(KeyMapTest, TypingOverASelectionCanBeUndone) {
    type("BaCO3");
    key(kKeyLeft, kModShift);
    key(kKeyLeft, kModShift);
    type("2");
    EXPECT_EQ(text(), "BaC2");
    key('Z', kModCtrl);
    EXPECT_EQ(text(), "BaCO3");
    ASSERT_TRUE(getSelection(*f));
    EXPECT_EQ(getSelection(*f)->first, 3);
}

TEST_F(KeyMapTest, ClipboardKeys) {
    type("Fe2O3");
    EXPECT_FALSE(key('C', kModCtrl));  // nothing selected
    EXPECT_TRUE(key('A', kModCtrl));
    EXPECT_EQ(f->caret, 5);
    EXPECT_TRUE(key('C', kModCtrl));
    EXPECT_EQ(clipboard.content, "Fe2O3");
    EXPECT_TRUE(key('X', kModCtrl));
    EXPECT_EQ(text(), "");
    EXPECT_TRUE(key('V', kModCtrl));
    EXPECT_TRUE(key('V', kModCtrl));
    EXPECT_EQ(text(), "Fe2O3Fe2O3");
    EXPECT_TRUE(key('Z', kModCtrl));
    EXPECT_EQ(text(), "Fe2O3");
    clipboard.broken = true;
    key('A', kModCtrl);
    EXPECT_FALSE(key('X', kModCtrl));
    EXPECT_FALSE(key('V', kModCtrl));
    EXPECT_EQ(text(), "Fe2O3");
}

TEST_F(KeyMapTest, ReadOnlyEntryRefusesEveryKeyButTheMenuCopy) {
    type("Fe2O3");
    selectRange(*f, 0, -1);
    f->readOnly = true;
    clipboard.content = "Ba";
    for (int vk : {int('A'), kKeyLeft, kKeyRight, kKeyHome, kKeyBackspace, kKeyDelete})
        for (int mods : {kModNone, kModShift, kModCtrl})
            EXPECT_FALSE(key(vk, mods)) << vk << " " << mods;
    EXPECT_FALSE(key('C', kModCtrl));
    EXPECT_EQ(clipboard.content, "Ba");
    EXPECT_FALSE(contextCommand(*f, kMenuCut, context));
    EXPECT_FALSE(contextCommand(*f, kMenuDelete, context));
    EXPECT_FALSE(contextCommand(*f, kMenuPaste, context));
    EXPECT_EQ(text(), "Fe2O3");
    EXPECT_TRUE(contextCommand(*f, kMenuCopy, context));
    EXPECT_EQ(clipboard.content, "Fe2O3");
}

TEST_F(KeyMapTest, ContextMenuCommands) {
    type("BaTiO3");
    selectRange(*f, 2, 3);
    EXPECT_TRUE(contextCommand(*f, kMenuCut, context));
    EXPECT_EQ(clipboard.content, "Ti");
    EXPECT_TRUE(contextCommand(*f, kMenuPaste, context));
    EXPECT_EQ(text(), "BaTiO3");
    EXPECT_TRUE(contextCommand(*f, kMenuDelete, context));
    EXPECT_EQ(text(), "BaTi3");
    EXPECT_FALSE(contextCommand(*f, kMenuDismissed, context));
    EXPECT_TRUE(layoutConsistent(*f));
}

}  // namespace
}  // namespace qv::testing
