#include <utility>

#include "editing_fixture.h"

namespace qv::testing {
namespace {

using KeyMapTest = EditingTest;

TEST_F(KeyMapTest, TypedCharactersFollowShiftNotCapsLock) {
    type("fe2o3");
    EXPECT_EQ(text(), "fe2o3");
    setText(*f, "");
    type("Ca(OH)2");
    for (auto [vk, mods] : {std::pair{kKeyMinus, kModShift},
                            {kKeyNumpad0 + 7, kModNone},
                            {kKeyDecimal, kModNone},
                            {kKeyNumpad9, kModShift},
                            {kKeyNumpad0, kModShift}})
        EXPECT_TRUE(key(vk, mods));
    EXPECT_EQ(text(), "Ca(OH)2-7.()");
    EXPECT_EQ(f->edit().cells()[2].fullSize, 1);
    EXPECT_EQ(f->edit().cells()[6].fullSize, 0);
}

TEST_F(KeyMapTest, OtherModifierCombinationsDoNothing) {
    for (auto [vk, mods] : {std::pair{kKeyPeriod, kModCtrl},
                            {'5', kModCtrl},
                            {'5', kModShift},
                            {'F', kModAlt},
                            {'F', kModCtrl | kModShift},
                            {kKeyTab, kModNone},
                            {kKeyUp, kModNone},
                            {kKeyLeft, kModAlt}})
        EXPECT_FALSE(key(vk, mods)) << vk << '/' << mods;
    EXPECT_EQ(f->edit().length(), 0);
    EXPECT_EQ(hiddenMessages, 0);
    EXPECT_FALSE(key('J', kModCtrl | kModShift));
    EXPECT_EQ(hiddenMessages, 1);
}

TEST_F(KeyMapTest, CaretAndSelectionKeys) {
    type("CaCO3BaTiO");
    key(kKeyLeft);
    key(kKeyLeft, kModShift);
    key(kKeyLeft, kModShift);
    EXPECT_EQ(state(), "CaCO3BaTiO @7 7..8");
    EXPECT_TRUE(key(kKeyRight));  // collapses at the selection's right end
    EXPECT_EQ(state(), "CaCO3BaTiO @9 none");
    for (int i = 0; i < 4; ++i) key(kKeyLeft);
    EXPECT_TRUE(key(kKeyHome, kModShift));
    EXPECT_EQ(state(), "CaCO3BaTiO @0 0..4");
    EXPECT_TRUE(key(kKeyEnd, kModShift));
    EXPECT_EQ(state(), "CaCO3BaTiO @10 5..9");
    EXPECT_TRUE(key(kKeyLeft, kModCtrl));
    EXPECT_EQ(state(), "CaCO3BaTiO @0 none");
    EXPECT_FALSE(key(kKeyLeft, kModShift));
    EXPECT_TRUE(key(kKeyRight, kModCtrl));
    EXPECT_FALSE(key(kKeyRight));
    EXPECT_FALSE(key(kKeyRight, kModShift));
    // With the focus just gained the active end is at 0, the caret at the end.
    focusGained(f->edit());
    EXPECT_FALSE(key(kKeyLeft, kModShift));
    EXPECT_FALSE(key(kKeyRight, kModShift));
    type("2");
    EXPECT_EQ(state(), "CaCO3BaTiO2 @11 none");
}

TEST_F(KeyMapTest, DeletionAndTheUndoThatRedoes) {
    type("Fe");
    key('Z', kModCtrl);  // a new entry's snapshot is empty
    EXPECT_EQ(state(), " @0 none");
    key('Z', kModCtrl);
    type("2O3");
    key(kKeyLeft);
    EXPECT_TRUE(key(kKeyBackspace));
    EXPECT_EQ(state(), "Fe23 @3 none");
    key('Z', kModCtrl);
    EXPECT_EQ(state(), "Fe2O3 @4 none");
    key('Z', kModCtrl);
    EXPECT_TRUE(key(kKeyDelete, kModShift));  // with any modifier
    EXPECT_EQ(state(), "Fe2 @3 none");
    EXPECT_FALSE(key(kKeyDelete));
    key(kKeyLeft, kModShift);
    type("3");  // typing over a selection takes a snapshot
    EXPECT_EQ(state(), "Fe3 @3 none");
    key('Z', kModCtrl);
    EXPECT_EQ(state(), "Fe2 @2 2..2");
    key(kKeyHome);
    EXPECT_FALSE(key(kKeyBackspace));
}

TEST_F(KeyMapTest, ClipboardKeysAndMenu) {
    type("BaTiO3");
    EXPECT_FALSE(key('C', kModCtrl));  // nothing selected
    EXPECT_FALSE(contextCommand(*f, kMenuCopy, context));
    EXPECT_TRUE(key('A', kModCtrl));
    EXPECT_EQ(state(), "BaTiO3 @6 0..5");
    EXPECT_TRUE(key('C', kModCtrl));
    EXPECT_EQ(clipboard.content, "BaTiO3");
    EXPECT_TRUE(key('X', kModCtrl));
    EXPECT_TRUE(key('V', kModCtrl));
    EXPECT_TRUE(contextCommand(*f, kMenuPaste, context));
    EXPECT_EQ(text(), "BaTiO3BaTiO3");
    key('Z', kModCtrl);
    selectRange(f->edit(), 2, 3);
    EXPECT_TRUE(contextCommand(*f, kMenuCut, context));
    EXPECT_EQ(clipboard.content, "Ti");
    EXPECT_TRUE(contextCommand(*f, kMenuDelete, context));
    EXPECT_FALSE(contextCommand(*f, kMenuDismissed, context));
    EXPECT_EQ(state(), "Ba3 @2 none");
    key('Z', kModCtrl);  // the menu's Delete took a snapshot
    EXPECT_EQ(state(), "BaO3 @2 none");
    key('Z', kModCtrl);
    clipboard.refusePut = clipboard.refuseGet = true;
    key('A', kModCtrl);
    EXPECT_FALSE(key('X', kModCtrl));
    EXPECT_FALSE(key('V', kModCtrl));
    EXPECT_EQ(text(), "Ba3");
}

TEST_F(KeyMapTest, ReadOnlyRefusesEveryKeyAndAllButTheMenuCopy) {
    type("Fe2O3");
    key('A', kModCtrl);
    f->setReadOnly(true);
    clipboard.content = "Ba";
    for (int vk : {int('A'), int('C'), int('V'), kKeyLeft, kKeyHome, kKeyBackspace, kKeyDelete})
        for (int mods : {kModNone, kModShift, kModCtrl}) EXPECT_FALSE(key(vk, mods)) << vk << '/' << mods;
    for (int choice : {kMenuCut, kMenuDelete, kMenuPaste}) EXPECT_FALSE(contextCommand(*f, choice, context));
    EXPECT_EQ(state(), "Fe2O3 @5 0..4");
    EXPECT_EQ(clipboard.content, "Ba");
    EXPECT_TRUE(contextCommand(*f, kMenuCopy, context));
    EXPECT_EQ(clipboard.content, "Fe2O3");
}

}  // namespace
}  // namespace qv::testing
