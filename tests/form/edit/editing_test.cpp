#include <cstdint>
#include <cstring>

#include "editing_fixture.h"

namespace qv::testing {
namespace {

TEST(CharacterFilter, AcceptsFormulaCharactersOnly) {
    EXPECT_EQ(countAcceptable("Fe2O3 (OH)-0.5"), 13);
    EXPECT_EQ(countAcceptable("   "), 0);
    for (const char* bad : {"Fe2O3;", "Fe,O", "Fe\tO", "\xC4"}) EXPECT_EQ(countAcceptable(bad), -1);
    EXPECT_EQ(countAcceptable(std::string_view("Fe\0;", 4)), 2);  // ends at the NUL
}

TEST_F(EditingTest, LayoutFollowsEditsInTheMiddle) {
    EXPECT_EQ(insertText(*f, "Ba TiO3"), 6);
    f->caret = f->anchor = f->activeEnd = 2;
    EXPECT_TRUE(insertChar(*f, '(', false));
    f->caret = f->anchor = f->activeEnd = 5;
    EXPECT_TRUE(insertChar(*f, ')', false));
    EXPECT_EQ(text(), "Ba(Ti)O3");
    EXPECT_TRUE(layoutConsistent(*f));
    EXPECT_EQ(xOfIndex(*f, 8), 1 + 9 + 7 + 5 + 9 + 7 + 5 + 9 + 5);
    EXPECT_EQ(xOfIndex(*f, 9), -1);
    EXPECT_TRUE(deleteBackward(*f, false));
    EXPECT_TRUE(deleteForward(*f, false));
    EXPECT_EQ(state(), "Ba(Ti3 @5 none");
    EXPECT_FALSE(insertChar(*f, ';', false));
    // Hit testing splits each character at its centre: B 1..10, a 10..17.
    EXPECT_EQ(hitTest(*f, -20), 0);
    EXPECT_EQ(hitTest(*f, 5), 0);
    EXPECT_EQ(hitTest(*f, 6), 1);
    EXPECT_EQ(hitTest(*f, 14), 2);
    EXPECT_EQ(hitTest(*f, 500), 6);
    EXPECT_EQ(hitTest(Formula(), 50), 0);
}

TEST_F(EditingTest, PasteFiltersAndStopsAt480Characters) {
    clipboard.content = "Fe2 O3";
    EXPECT_TRUE(pasteText(*f, &clipboard, true));
    EXPECT_EQ(text(), "Fe2O3");
    for (const char* bad : {"Fe2O3;", "   ", "", "Ba\r\n"}) {
        clipboard.content = bad;
        EXPECT_FALSE(pasteText(*f, &clipboard, true)) << bad;
    }
    clipboard.content.reset();
    EXPECT_FALSE(pasteText(*f, &clipboard, true));
    EXPECT_EQ(text(), "Fe2O3");

    setText(*f, std::string(478, 'C'));
    clipboard.content = "O3O3";
    EXPECT_TRUE(pasteText(*f, &clipboard, true));
    EXPECT_EQ(f->length, 480);
    EXPECT_EQ(text().substr(476), "CCO3");
    EXPECT_FALSE(insertChar(*f, 'H', true));
    selectRange(*f, 0, 1);  // a full text still lets a selection be replaced
    EXPECT_TRUE(insertChar(*f, 'H', true));
    EXPECT_EQ(f->length, 479);
    EXPECT_EQ(text().substr(0, 3), "HCC");
}

TEST_F(EditingTest, SelectionAndTextAreReportedLikeAnEditControl) {
    selectRange(*f, 2, 4);
    EXPECT_EQ(state(), " @0 none");
    insertText(*f, "Fe2O3");
    selectRange(*f, 0, -1);
    EXPECT_EQ(state(), "Fe2O3 @5 0..4");
    selectRange(*f, 1, 3);
    EXPECT_EQ(state(), "Fe2O3 @4 1..3");
    selectRange(*f, 3, 1);
    EXPECT_EQ(state(), "Fe2O3 @1 1..3");
    selectRange(*f, 2, 99);
    EXPECT_EQ(state(), "Fe2O3 @5 2..4");
    selectRange(*f, -1, 0);
    EXPECT_EQ(state(), "Fe2O3 @5 none");

    char buffer[8];
    EXPECT_EQ(getText(*f, nullptr, 0), 6);
    EXPECT_EQ(getText(*f, buffer, 6), 5);
    EXPECT_STREQ(buffer, "Fe2O3");
    EXPECT_EQ(getText(*f, buffer, 3), 2);
    EXPECT_STREQ(buffer, "Fe");
    const std::uint16_t room = 3;
    std::memcpy(buffer, &room, sizeof room);
    EXPECT_EQ(getLine(*f, buffer), 3);
    EXPECT_STREQ(buffer, "Fe2");
}

}  // namespace
}  // namespace qv::testing
