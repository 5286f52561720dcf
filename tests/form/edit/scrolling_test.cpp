#include "editing_fixture.h"

namespace qv::testing {
namespace {

// A 60-pixel view over 20 capitals of 9 pixels: the text ends at x 181.
class ScrollingTest : public EditingTest {
protected:
    ScrollingTest() {
        bindView(*f, nullptr, 60, 20);
        type("CCCCCCCCCCCCCCCCCCCC");
    }
};

TEST_F(ScrollingTest, JumpModeMovesAThirdAtATimeWithinTheText) {
    EXPECT_EQ(view(), "122..182");  // typing stopped the view at the text end
    for (int i = 0; i < 6; ++i) key(kKeyLeft);
    EXPECT_EQ(view(), "122..182");
    key(kKeyLeft);  // the caret reaches the left edge (x 118)
    EXPECT_EQ(view(), "102..162");
    for (int i = 0; i < 13; ++i) key(kKeyLeft);
    EXPECT_EQ(f->caret, 0);
    EXPECT_EQ(view(), "-1..59");  // the last step is shorter: no further than the start
}

TEST_F(ScrollingTest, ExactModeBringsTheCaretJustInside) {
    key(kKeyHome);
    EXPECT_EQ(view(), "0..60");
    selectRange(*f, 9, 9);  // caret at x 91
    EXPECT_EQ(view(), "32..92");
    focusGained(*f);
    EXPECT_EQ(view(), "122..182");
    focusLost(*f);
    EXPECT_EQ(view(), "0..60");
    selectRange(*f, 0, 16);
    key(kKeyDelete);  // what is left fits: shown from the start
    EXPECT_EQ(view(), "-1..59");
}

TEST_F(ScrollingTest, LeftAtTheStartOfAScrolledViewScrollsHome) {
    clickAt(*f, 0);
    EXPECT_EQ(f->caret, 13);  // x 122 is the centre of character 13
    f->caret = f->anchor = f->activeEnd = 0;  // as binding may leave it
    EXPECT_TRUE(key(kKeyLeft));
    EXPECT_EQ(view(), "-1..59");
    EXPECT_EQ(f->caret, 0);
    EXPECT_FALSE(key(kKeyLeft));
}

TEST_F(ScrollingTest, DraggingPastAnEdgeScrollsByAtMostAThird) {
    key(kKeyHome);
    clickAt(*f, 10);
    EXPECT_EQ(f->caret, 1);
    EXPECT_TRUE(dragTo(*f, 80));
    EXPECT_EQ(view(), "20..80");
    EXPECT_EQ(selection(), "1..8");
    for (int i = 0; i < 10; ++i) dragTo(*f, 80);
    EXPECT_EQ(view(), "122..182");
    dragTo(*f, -5);
    EXPECT_EQ(view(), "102..162");
    EXPECT_EQ(f->anchor, 1);
}

TEST_F(ScrollingTest, DraggingAShortTextNeverScrollsIt) {
    setText(*f, "Fe2O3");
    clickAt(*f, 0);
    EXPECT_TRUE(dragTo(*f, 200));
    EXPECT_FALSE(dragTo(*f, 210));
    EXPECT_EQ(selection(), "0..4");
    EXPECT_EQ(view(), "-1..59");
    EXPECT_TRUE(dragTo(*f, -50));
    EXPECT_EQ(view(), "-1..59");
}

}  // namespace
}  // namespace qv::testing
