#include <cstdint>
#include <cstring>

#include "editing_fixture.h"

namespace qv::testing {
namespace {

TEST(CharacterFilter, AcceptsFormulaCharactersOnly) {
    EXPECT_EQ(countAcceptable("Fe2O3 (OH)-0.5"), 13);
    EXPECT_EQ(countAcceptable("   "), 0);
    EXPECT_EQ(countAcceptable("Fe2O3;"), -1);
    EXPECT_EQ(countAcceptable("Fe,O"), -1);
    EXPECT_EQ(countAcceptable("Fe\tO"), -1);
    EXPECT_EQ(countAcceptable("\xC4"), -1);
    EXPECT_EQ(countAcceptable(std::string_view("Fe\0;", 4)), 2);  // ends at the NUL
}

TEST_F(EditingTest, InsertAndDeleteInTheMiddleKeepTheLayout) {
    EXPECT_EQ(insertText(*f, "Ba TiO3"), 6);
    f->caret = f->anchor = f->activeEnd = 2;
    EXPECT_TRUE(insertChar(*f, '(', false));
    f->caret = f->anchor = f->activeEnd = 5;
    EXPECT_TRUE(insertChar(*f, ')', false));
    EXPECT_EQ(text(), "Ba(Ti)O3");
    EXPECT_TRUE(layoutConsistent(*f));
    EXPECT_EQ(xOfIndex(*f, 8), 1 + 9 + 7 + 4 + 9 + 7 + 4 + 9 + 5);
    EXPECT_EQ(xOfIndex(*f, 9), -1);
    EXPECT_EQ(xOfIndex(*f, -1), -1);
    EXPECT_TRUE(deleteBackward(*f, false));
    EXPECT_TRUE(deleteForward(*f, false));
    EXPECT_EQ(text(), "Ba(Ti3");
    EXPECT_EQ(f->caret, 5);
    EXPECT_TRUE(layoutConsistent(*f));
    EXPECT_FALSE(insertChar(*f, ';', false));
    EXPECT_FALSE(insertChar(*f, '\0', false));
}

TEST_F(EditingTest, HitTestSplitsEachCharacterAtItsCentre) {
    Formula empty;
    EXPECT_EQ(hitTest(empty, 50), 0);
    EXPECT_EQ(xOfIndex(empty, 0), 1);
    insertText(*f, "Fe2");  // F 1..10, e 10..17, 2 17..22
    EXPECT_EQ(hitTest(*f, -20), 0);
    EXPECT_EQ(hitTest(*f, 5), 0);   // exactly the centre: before
    EXPECT_EQ(hitTest(*f, 6), 1);
    EXPECT_EQ(hitTest(*f, 13), 1);
    EXPECT_EQ(hitTest(*f, 14), 2);
    EXPECT_EQ(hitTest(*f, 20), 3);
    EXPECT_EQ(hitTest(*f, 500), 3);
}

TEST_F(EditingTest, TheTextHoldsAtMost480Characters) {
    std::string long_text(478, 'C');
    EXPECT_EQ(setText(*f, long_text), 478);
    clipboard.content = "O3O3";
    EXPECT_TRUE(pasteText(*f, &clipboard, true));
    EXPECT_EQ(f->length, 480);
    EXPECT_EQ(text().substr(476), "CCO3");
    EXPECT_FALSE(insertChar(*f, 'H', true));
    EXPECT_TRUE(layoutConsistent(*f));
    // A selection is still replaced by the first character of a full text.
    selectRange(*f, 0, 1);
    EXPECT_TRUE(insertChar(*f, 'H', true));
    EXPECT_EQ(f->length, 479);
    EXPECT_EQ(text().substr(0, 2), "HC");
}

TEST_F(EditingTest, PasteDropsBlanksAndRefusesAnyForeignCharacter) {
    clipboard.content = "Fe2 O3";
    EXPECT_TRUE(pasteText(*f, &clipboard, true));
    EXPECT_EQ(text(), "Fe2O3");
    for (const char* bad : {"Fe2O3;", "   ", "", "Ba\r\n"}) {
        clipboard.content = bad;
        EXPECT_FALSE(pasteText(*f, &clipboard, true)) << bad;
    }
    clipboard.content.reset();
    EXPECT_FALSE(pasteText(*f, &clipboard, true));
    EXPECT_FALSE(pasteText(*f, nullptr, true));
    EXPECT_EQ(text(), "Fe2O3");
    selectRange(*f, 2, 2);
    clipboard.content = "3";
    EXPECT_TRUE(pasteText(*f, &clipboard, false));
    EXPECT_EQ(text(), "Fe3O3");
}

TEST_F(EditingTest, SelectionIsReportedInclusive) {
    EXPECT_FALSE(getSelection(*f));
    selectRange(*f, 2, 4);
    EXPECT_EQ(f->caret, 0);  // an empty text: empty selection at 0
    EXPECT_FALSE(getSelection(*f));
    insertText(*f, "Fe2O3");
    selectRange(*f, 0, -1);
    EXPECT_EQ(getSelection(*f)->first, 0);
    EXPECT_EQ(getSelection(*f)->last, 4);
    selectRange(*f, 1, 3);
    EXPECT_EQ(getSelection(*f)->first, 1);
    EXPECT_EQ(getSelection(*f)->last, 3);
    EXPECT_EQ(f->caret, 4);
    selectRange(*f, 3, 1);
    EXPECT_EQ(getSelection(*f)->first, 1);
    EXPECT_EQ(getSelection(*f)->last, 3);
    EXPECT_EQ(f->caret, 1);
    selectRange(*f, 2, 99);
    EXPECT_EQ(getSelection(*f)->last, 4);
    selectRange(*f, -1, 0);
    EXPECT_FALSE(getSelection(*f));
    EXPECT_EQ(f->caret, 5);
}

TEST_F(EditingTest, GetTextAndGetLine) {
    insertText(*f, "CaCO3");
    EXPECT_EQ(getText(*f, nullptr, 0), 6);
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(getText(*f, buffer, 6), 5);
    EXPECT_STREQ(buffer, "CaCO3");
    EXPECT_EQ(getText(*f, buffer, 3), 2);
    EXPECT_STREQ(buffer, "Ca");
    EXPECT_EQ(getText(*f, buffer, -4), 6);

    char line[8];
    const std::uint16_t room = 3;
    std::memcpy(line, &room, sizeof room);
    EXPECT_EQ(getLine(*f, line), 3);
    EXPECT_STREQ(line, "CaC");
}

TEST_F(EditingTest, SetTextAndReplaceSelectionRefuseWholeTexts) {
    insertText(*f, "Fe2O3");
    takeSnapshot(*f);
    EXPECT_EQ(setText(*f, "Fe,O"), -1);
    EXPECT_EQ(text(), "Fe2O3");
    EXPECT_EQ(setText(*f, "Ba Ti O3"), 6);
    EXPECT_EQ(text(), "BaTiO3");
    EXPECT_EQ(replaceSelection(*f, "Sr"), 0);  // nothing selected
    selectRange(*f, 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Sr;"), 0);
    EXPECT_EQ(replaceSelection(*f, "Sr"), 2);
    EXPECT_EQ(text(), "SrTiO3");
    undo(*f);
    EXPECT_EQ(text(), "BaTiO3");
    f->readOnly = true;
    selectRange(*f, 0, 1);
    EXPECT_EQ(replaceSelection(*f, "Sr"), 0);
    EXPECT_EQ(setText(*f, "Sr"), 2);  // how the program writes the difference
    EXPECT_EQ(text(), "Sr");
    // setText leaves the snapshot: undo brings back the text the last undo left
    undo(*f);
    EXPECT_EQ(text(), "SrTiO3");
    EXPECT_TRUE(layoutConsistent(*f));
}

}  // namespace
}  // namespace qv::testing
