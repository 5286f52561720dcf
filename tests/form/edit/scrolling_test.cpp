#include "editing_fixture.h"

namespace qv::testing {
namespace {

// A 60-pixel view over 20 capitals of 9 pixels: the text ends at x 181.
class ScrollingTest : public EditingTest {
protected:
    ScrollingTest() {
        bindView(f->edit(), 60);
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
    EXPECT_EQ(f->edit().caret(), 0);
    EXPECT_EQ(view(), "-1..59");  // the last step is shorter: no further than the start
}

TEST_F(ScrollingTest, ExactModeBringsTheCaretJustInside) {
    key(kKeyHome);
    EXPECT_EQ(view(), "0..60");
    selectRange(f->edit(), 9, 9);  // caret at x 91
    EXPECT_EQ(view(), "32..92");
    focusGained(f->edit());
    EXPECT_EQ(view(), "122..182");
    focusLost(f->edit());
    EXPECT_EQ(view(), "0..60");
    selectRange(f->edit(), 0, 16);
    key(kKeyDelete);  // what is left fits: shown from the start
    EXPECT_EQ(view(), "-1..59");
}

TEST_F(ScrollingTest, LeftAtTheStartOfAScrolledViewScrollsHome) {
    clickAt(f->edit(), 0);
    EXPECT_EQ(f->edit().caret(), 13);  // x 122 is the centre of character 13
    f->edit().placeCaret(0, 0, 0);     // as binding may leave it
    EXPECT_TRUE(key(kKeyLeft));
    EXPECT_EQ(view(), "-1..59");
    EXPECT_EQ(f->edit().caret(), 0);
    EXPECT_FALSE(key(kKeyLeft));
}

TEST_F(ScrollingTest, DraggingPastAnEdgeScrollsByAtMostAThird) {
    key(kKeyHome);
    clickAt(f->edit(), 10);
    EXPECT_EQ(f->edit().caret(), 1);
    EXPECT_TRUE(dragTo(f->edit(), 80));
    EXPECT_EQ(view(), "20..80");
    EXPECT_EQ(selection(), "1..8");
    for (int i = 0; i < 10; ++i) dragTo(f->edit(), 80);
    EXPECT_EQ(view(), "122..182");
    dragTo(f->edit(), -5);
    EXPECT_EQ(view(), "102..162");
    EXPECT_EQ(f->edit().anchor(), 1);
    // Held still past the edge: the caret stays, the view moves and must be
    // repainted.
    key(kKeyEnd);
    clickAt(f->edit(), 55);
    EXPECT_FALSE(dragTo(f->edit(), 59));
    dragTo(f->edit(), -5), dragTo(f->edit(), -5);  // the view back to 82..142
    clickAt(f->edit(), 59);
    EXPECT_TRUE(dragTo(f->edit(), 61)) << "the view scrolled right";
    EXPECT_EQ(view(), "102..162");
    EXPECT_EQ(f->edit().caret(), 16);
}

TEST_F(ScrollingTest, UndoBringsTheCaretIntoView) {
    key(kKeyHome);
    key(kKeyDelete);  // snapshot with the caret at 0
    key(kKeyEnd);
    key('Z', kModCtrl);
    EXPECT_EQ(f->edit().caret(), 0);
    EXPECT_EQ(view(), "0..60");
    key('Z', kModCtrl);  // the redo puts the caret back at the end
    EXPECT_EQ(view(), "113..173");
}

TEST_F(ScrollingTest, DraggingAShortTextNeverScrollsIt) {
    setText(*f, "Fe2O3");
    clickAt(f->edit(), 0);
    EXPECT_TRUE(dragTo(f->edit(), 200));
    EXPECT_FALSE(dragTo(f->edit(), 210));
    EXPECT_EQ(selection(), "0..4");
    EXPECT_EQ(view(), "-1..59");
    EXPECT_TRUE(dragTo(f->edit(), -50));
    EXPECT_EQ(view(), "-1..59");
}

}  // namespace
}  // namespace qv::testing
