
#include "editing_fixture.h"

namespace qv::testing {

using KeyMapTest = EditingTest;

TEST_F(KeyMapTest, TypedCharactersFollowShiftCaretAndSelectionKeysReadOnly) {
    type("fe2o3");
    EXPECT_EQ(text(), "fe2o3");
    setText(*f, "");
    type("Ca(OH)2");
    EXPECT_EQ(press("S-Minus Num7 Dec S-Num9 S-Num0"), "+++++ Ca(OH)2-7.() @12 none");
    EXPECT_EQ(std::pair(f->edit().cells()[2].fullSize, f->edit().cells()[6].fullSize), std::pair(1, 0));
    // Other modifier combinations do nothing; Ctrl+Shift+J posts the hidden message.
    EXPECT_EQ(press("C-Period C-5 S-5 A-F C-S-F Tab Up A-Left A-A C-S-Z"),
              "---------- Ca(OH)2-7.() @12 none");
    EXPECT_EQ(hiddenMessages, 0);
    EXPECT_EQ(press("C-S-J"), "- Ca(OH)2-7.() @12 none");
    EXPECT_EQ(hiddenMessages, 1);
    setText(*f, "");
    type("CaCO3BaTiO");
    EXPECT_EQ(press("Left S-Left S-Left"), "+++ CaCO3BaTiO @7 7..8");
    EXPECT_EQ(press("Right"), "+ CaCO3BaTiO @9 none");  // collapses at the selection's right end
    EXPECT_EQ(press("Left Left Left Left S-Home"), "+++++ CaCO3BaTiO @0 0..4");
    EXPECT_EQ(press("S-End"), "+ CaCO3BaTiO @10 5..9");
    EXPECT_EQ(press("C-Left S-Left"), "+- CaCO3BaTiO @0 none");
    EXPECT_EQ(press("C-Right Right S-Right"), "+-- CaCO3BaTiO @10 none");
    // With the focus just gained the active end is at 0, the caret at the end.
    focusGained(f->edit());
    EXPECT_EQ(press("S-Left S-Right 2"), "--+ CaCO3BaTiO2 @11 none");
    setText(*f, "");  // read-only refuses every key and all but the menu copy
    type("Fe2O3");
    key('A', kModCtrl);
    f->setReadOnly(true);
    clipboard.content = "Ba";
    for (int vk : {int('A'), int('C'), int('V'), kKeyLeft, kKeyHome, kKeyBackspace, kKeyDelete})
        for (int mods : {kModNone, kModShift, kModCtrl}) EXPECT_FALSE(key(vk, mods)) << vk << '/' << mods;
    for (int choice : {kMenuCut, kMenuDelete, kMenuPaste}) EXPECT_FALSE(menu(choice));
    EXPECT_EQ(state() + " " + clipboard.content.value(), "Fe2O3 @5 0..4 Ba");
    EXPECT_TRUE(menu(kMenuCopy));
    EXPECT_EQ(clipboard.content, "Fe2O3");
}

TEST_F(KeyMapTest, DeletionTheUndoThatRedoesAndTheClipboard) {
    type("Fe");
    EXPECT_EQ(press("C-Z Del"), "+-  @0 none");  // a new entry's snapshot is empty
    press("C-Z");
    type("2O3");
    EXPECT_EQ(press("Left BS"), "++ Fe23 @3 none");
    EXPECT_EQ(press("C-Z"), "+ Fe2O3 @4 none");
    EXPECT_EQ(press("C-Z S-Del"), "++ Fe2 @3 none");      // Delete with any modifier
    EXPECT_EQ(press("Del S-Left 3"), "-++ Fe3 @3 none");  // typing over a selection takes a snapshot
    EXPECT_EQ(press("C-Z"), "+ Fe2 @2 2..2");
    EXPECT_EQ(press("Home BS"), "+- Fe2 @0 none");
    setText(*f, "");
    type("BaTiO3");
    EXPECT_EQ(press("C-C"), "- BaTiO3 @6 none");  // nothing selected
    EXPECT_FALSE(menu(kMenuCopy));
    EXPECT_EQ(press("C-A C-C"), "++ BaTiO3 @6 0..5");
    EXPECT_EQ(clipboard.content, "BaTiO3");
    EXPECT_EQ(press("C-X C-V"), "++ BaTiO3 @6 none");
    EXPECT_TRUE(menu(kMenuPaste));
    EXPECT_EQ(text(), "BaTiO3BaTiO3");
    press("C-Z");
    selectRange(f->edit(), 2, 3);
    EXPECT_TRUE(menu(kMenuCut));
    EXPECT_EQ(clipboard.content, "Ti");
    EXPECT_TRUE(menu(kMenuDelete) && !menu(kMenuDismissed));
    EXPECT_EQ(state(), "Ba3 @2 none");
    EXPECT_EQ(press("C-Z"), "+ BaO3 @2 none");  // the menu's Delete took a snapshot
    press("C-Z");
    clipboard.refusePut = clipboard.refuseGet = true;
    EXPECT_EQ(press("C-A C-X C-V"), "+-- Ba3 @3 0..2");
}

const std::string kDot = "\xC2\xB7";  // the middle dot, UTF-8

class HydrateEditingTest : public EditingTest {
protected:
    HydrateEditingTest() {
        widths.widths[0xB7] = 5;
        widths.coefficientWidths.fill(8);  // coefficients are wider than counts
    }
    // Each cell as its character and 'n' (full size, 1) or 's' (count).
    std::string roles() const {
        std::string out;
        for (int i = 0; i < f->edit().length(); ++i)
            out += {f->edit().cells()[i].ch, f->edit().cells()[i].fullSize == 1 ? 'n' : 's'};
        return out;
    }
};

TEST_F(HydrateEditingTest, SeparatorsAreTypedOrPastedAndLeadingCountsStandFullSize) {
    type("CuSO4");
    EXPECT_TRUE(key('8', kModShift));
    type("5H2O");
    EXPECT_EQ(roles(), "CnunSnOn4s*n5nHn2sOn");
    EXPECT_EQ(f->edit().cells()[6].width, 8);
    // Replacing '*' by the layout's "·" key keeps the coefficient (one cell per character); deleting it
    // turns the 5 back into a subscript and the cells after it move back.
    selectRange(f->edit(), 5, 5);
    EXPECT_EQ(press("Dot"), "+ CuSO4" + kDot + "5H2O @6 none");
    EXPECT_EQ(f->edit().length(), 10);
    key(kKeyBackspace);
    EXPECT_EQ(roles(), "CnunSnOn4s5sHn2sOn");
    // A first part may carry a count too; the keypad's '*' types one.
    key(kKeyHome);
    type("3");
    EXPECT_EQ(press("End Mul"), "++ 3CuSO45H2O* @11 none");
    type("0.5H2O");
    EXPECT_EQ(roles(), "3nCnunSnOn4s5sHn2sOn*n0n.n5nHn2sOn");
    EXPECT_FALSE(key(kKeyMiddleDot, kModCtrl));
    // Pasted dots and bullets become one middle dot.
    for (const std::string& sep : {std::string("\xE2\x80\xA2"), std::string("\x95"), " " + kDot + " "}) {
        setText(*f, "");
        clipboard.content = "CuSO4" + sep + "5H2O";
        EXPECT_EQ(press("C-V"), "+ CuSO4" + kDot + "5H2O @10 none") << sep;
    }
    selectRange(f->edit(), 4, 6);
    EXPECT_TRUE(key('C', kModCtrl));
    EXPECT_EQ(clipboard.content, "4" + kDot + "5");
    // The limit counts characters, not bytes.
    std::string dots;
    for (int i = 0; i < kFormulaCapacity + 1; ++i) dots += kDot;
    setText(*f, "");
    EXPECT_EQ(insertText(f->edit(), dots), kFormulaCapacity);
}

}  // namespace qv::testing
