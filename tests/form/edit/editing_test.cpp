
#include "editing_fixture.h"

namespace qv::testing {

TEST_F(EditingTest, CharacterFilterWidthsLayoutPasteAndSelection) {
    EXPECT_EQ(countAcceptable("AgZn2O3 (OH)-0.5"), 15);
    EXPECT_EQ(countAcceptable("   "), 0);
    for (const char* bad : {"Fe2O3;", "Fe,O", "Fe\tO", "\xC4"}) EXPECT_EQ(countAcceptable(bad), -1);
    EXPECT_EQ(countAcceptable(std::string_view("Fe\0;", 4)), 2);  // ends at the NUL
    // Counts take subscript widths, everything else normal ones.
    WidthTable table;
    table.widths[10] = -7;  // untouched codes keep what they held
    fillWidthTable(
        table, [](char c) { return 100 + c; }, [](char c) { return 200 + c; });
    for (char c : std::string_view("(-F ~:")) EXPECT_EQ(table.widthOf(c), 100 + c) << c;
    for (char c : std::string_view("2./")) EXPECT_EQ(table.widthOf(c), 200 + c) << c;
    for (char c : std::string_view("2.F\xB7")) EXPECT_EQ(table.widthOf(c, true), 100 + c) << c;
    EXPECT_EQ(std::tuple(table.widths[10], table.widths[31], table.widths[127], table.widthOf('\xE9')),
              std::tuple(-7, 0, 0, 0));
    EXPECT_EQ(insertText(f->edit(), "Ba TiO3"), 6);
    f->edit().placeCaret(2, 2, 2);
    EXPECT_TRUE(insertChar(f->edit(), '(', false));
    f->edit().placeCaret(5, 5, 5);
    EXPECT_TRUE(insertChar(f->edit(), ')', false));
    EXPECT_EQ(text(), "Ba(Ti)O3");
    EXPECT_TRUE(layoutConsistent(*f));
    EXPECT_EQ(xOfIndex(f->edit(), 8), 1 + 9 + 7 + 5 + 9 + 7 + 5 + 9 + 5);
    EXPECT_EQ(xOfIndex(f->edit(), 9), -1);
    EXPECT_TRUE(deleteBackward(f->edit(), false) && deleteForward(f->edit(), false));
    EXPECT_EQ(state(), "Ba(Ti3 @5 none");
    EXPECT_FALSE(insertChar(f->edit(), ';', false));
    // Hit testing splits each character at its centre: B 1..10, a 10..17.
    for (auto [x, at] : {std::pair{-20, 0}, {5, 0}, {6, 1}, {14, 2}, {500, 6}})
        EXPECT_EQ(hitTest(f->edit(), x), at);
    EXPECT_EQ(hitTest(EditBuffer(), 50), 0);
    setText(*f, "");
    clipboard.content = "Fe2 O3";
    EXPECT_TRUE(pasteText(f->edit(), &clipboard, true));
    EXPECT_EQ(text(), "Fe2O3");
    for (const char* bad : {"Fe2O3;", "   ", "", "Ba\r\n"}) {
        clipboard.content = bad;
        EXPECT_FALSE(pasteText(f->edit(), &clipboard, true)) << bad;
    }
    clipboard.content.reset();
    EXPECT_FALSE(pasteText(f->edit(), &clipboard, true));
    EXPECT_EQ(text(), "Fe2O3");

    setText(*f, std::string(478, 'C'));
    clipboard.content = "O3O3";
    EXPECT_TRUE(pasteText(f->edit(), &clipboard, true));
    EXPECT_EQ(std::to_string(f->edit().length()) + text().substr(476), "480CCO3");
    EXPECT_FALSE(insertChar(f->edit(), 'H', true));
    selectRange(f->edit(), 0, 1);  // a full text still lets a selection be replaced
    EXPECT_TRUE(insertChar(f->edit(), 'H', true));
    EXPECT_EQ(std::to_string(f->edit().length()) + text().substr(0, 3), "479HCC");
    setText(*f, "");
    const auto select = [&](int from, int to) { return selectRange(f->edit(), from, to), state(); };
    EXPECT_EQ(select(2, 4), " @0 none");
    insertText(f->edit(), "Fe2O3");
    EXPECT_EQ(select(0, -1), "Fe2O3 @5 0..4");
    EXPECT_EQ(select(1, 3), "Fe2O3 @4 1..3");
    EXPECT_EQ(select(3, 1), "Fe2O3 @1 1..3");
    EXPECT_EQ(select(2, 99), "Fe2O3 @5 2..4");
    EXPECT_EQ(select(7, 9), "Fe2O3 @5 4..4");
    EXPECT_EQ(select(-1, 0), "Fe2O3 @5 none");
}

}  // namespace qv::testing
