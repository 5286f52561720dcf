#include "editing_fixture.h"

namespace qv::testing {

// A 60-pixel view over 20 capitals of 9 pixels: the text ends at x 181.
class ScrollingTest : public EditingTest {
protected:
    ScrollingTest() {
        bindView(f->edit(), 60);
        type("CCCCCCCCCCCCCCCCCCCC");
    }
    // The view's left..right, the caret and the selection: "122..182 @20 none".
    std::string shown() const {
        return std::to_string(f->edit().view().left) + ".." + std::to_string(f->edit().view().right) + " @" +
               std::to_string(f->edit().caret()) + " " + selection();
    }
    std::string left(int times) {
        while (times-- > 0) key(kKeyLeft);
        return shown();
    }
};

TEST_F(ScrollingTest, JumpAndExactModesLeftAtTheStartAndDragging) {
    EXPECT_EQ(shown(), "122..182 @20 none");  // typing stopped the view at the text end
    EXPECT_EQ(left(6), "122..182 @14 none");
    EXPECT_EQ(left(1), "102..162 @13 none");  // the caret reaches the left edge (x 118)
    EXPECT_EQ(left(13), "-1..59 @0 none");    // the last step is shorter: no further than the start
    focusGained(f->edit());                   // back to the end
    key(kKeyHome);
    EXPECT_EQ(shown(), "0..60 @0 none");
    selectRange(f->edit(), 9, 9);  // caret at x 91
    EXPECT_EQ(shown(), "32..92 @10 9..9");
    focusGained(f->edit());
    EXPECT_EQ(shown(), "122..182 @20 none");
    clickAt(f->edit(), 0);
    EXPECT_EQ(shown(), "122..182 @13 none");  // x 122 is the centre of character 13
    f->edit().placeCaret(0, 0, 0);            // as binding may leave it
    EXPECT_TRUE(key(kKeyLeft));
    EXPECT_EQ(shown(), "-1..59 @0 none");
    EXPECT_FALSE(key(kKeyLeft));
    focusGained(f->edit());
    press("Home");
    clickAt(f->edit(), 10);
    EXPECT_EQ(f->edit().caret(), 1);
    EXPECT_TRUE(dragTo(f->edit(), 80));
    EXPECT_EQ(shown(), "20..80 @9 1..8");
    for (int i = 0; i < 10; ++i) dragTo(f->edit(), 80);
    EXPECT_EQ(shown(), "122..182 @20 1..19");
    dragTo(f->edit(), -5);
    EXPECT_EQ(shown(), "102..162 @13 1..12");
    EXPECT_EQ(f->edit().anchor(), 1);
    // Held still past the edge: the caret stays, the view moves and must be repainted.
    key(kKeyEnd);
    clickAt(f->edit(), 55);
    EXPECT_FALSE(dragTo(f->edit(), 59));
    dragTo(f->edit(), -5), dragTo(f->edit(), -5);  // the view back to 82..142
    clickAt(f->edit(), 59);
    EXPECT_TRUE(dragTo(f->edit(), 61)) << "the view scrolled right";
    EXPECT_EQ(shown(), "102..162 @16 none");
    focusLost(f->edit());
    EXPECT_EQ(shown(), "0..60 @0 none");
    selectRange(f->edit(), 0, 16);
    key(kKeyDelete);  // what is left fits: shown from the start
    EXPECT_EQ(shown(), "-1..59 @0 none");
}

TEST_F(ScrollingTest, UndoBringsTheCaretIntoViewAndShortTextsNeverScroll) {
    press("Home Del End C-Z");  // the snapshot has the caret at 0
    EXPECT_EQ(shown(), "0..60 @0 none");
    key('Z', kModCtrl);  // the redo puts the caret back at the end
    EXPECT_EQ(shown(), "113..173 @19 none");

    setText(*f, "Fe2O3");
    clickAt(f->edit(), 0);
    EXPECT_TRUE(dragTo(f->edit(), 200));
    EXPECT_FALSE(dragTo(f->edit(), 210));
    EXPECT_EQ(shown(), "-1..59 @5 0..4");
    EXPECT_TRUE(dragTo(f->edit(), -50));
    EXPECT_EQ(shown(), "-1..59 @0 none");
}

}  // namespace qv::testing
