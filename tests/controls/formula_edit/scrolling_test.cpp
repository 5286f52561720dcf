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
    int caretOnScreen() const { return xOfIndex(*f, f->caret) - f->viewLeft; }
};

TEST_F(ScrollingTest, TypingKeepsTheCaretInsideAndStopsAtTheTextEnd) {
    EXPECT_EQ(f->viewRight, 182);  // the text end plus the right margin
    EXPECT_EQ(f->viewLeft, 122);
    EXPECT_EQ(caretOnScreen(), 59);
}

TEST_F(ScrollingTest, JumpModeMovesAThirdAtATime) {
    key(kKeyHome);  // exact: the caret just inside the left edge
    EXPECT_EQ(f->viewLeft, 0);
    key(kKeyEnd);
    EXPECT_EQ(f->viewLeft, 122);
    for (int i = 0; i < 6; ++i) key(kKeyLeft);
    EXPECT_EQ(f->viewLeft, 122);
    key(kKeyLeft);  // the caret reaches the left edge: the view moves a third
    EXPECT_EQ(f->viewLeft, 102);
    EXPECT_EQ(caretOnScreen(), 16);
    for (int i = 0; i < 13; ++i) key(kKeyLeft);
    EXPECT_EQ(f->caret, 0);
    EXPECT_EQ(f->viewLeft, -1);  // never further left than the start
}

TEST_F(ScrollingTest, LeftAtTheStartOfAScrolledViewScrollsHome) {
    clickAt(*f, 0);
    EXPECT_EQ(f->caret, 13);
    f->caret = f->anchor = f->activeEnd = 0;  // as binding leaves it
    EXPECT_TRUE(key(kKeyLeft));
    EXPECT_EQ(f->viewLeft, -1);
    EXPECT_EQ(f->viewRight, 59);
    EXPECT_EQ(f->caret, 0);
    EXPECT_FALSE(key(kKeyLeft));
}

TEST_F(ScrollingTest, FocusAndSelectionSetTheViewExactly) {
    focusLost(*f);
    EXPECT_EQ(f->viewLeft, 0);
    selectRange(*f, 9, 9);  // caret at x 91
    EXPECT_EQ(f->viewRight, 92);
    focusGained(*f);
    EXPECT_EQ(f->viewRight, 182);
    EXPECT_EQ(f->caret, 20);
    EXPECT_FALSE(getSelection(*f));
    key(kKeyDelete);  // nothing after the caret: refused, view unchanged
    EXPECT_EQ(f->viewRight, 182);
}

TEST_F(ScrollingTest, DeletingBackIntoAShortTextShowsItFromTheStart) {
    selectRange(*f, 0, 16);
    key(kKeyDelete);
    EXPECT_EQ(f->length, 3);
    EXPECT_EQ(f->viewLeft, -1);
    EXPECT_EQ(f->viewRight, 59);
}

TEST_F(ScrollingTest, DraggingPastAnEdgeScrollsByAtMostAThird) {
    key(kKeyHome);
    clickAt(*f, 10);
    EXPECT_EQ(f->caret, 1);
    EXPECT_TRUE(dragTo(*f, 80));
    EXPECT_EQ(f->viewLeft, 20);
    EXPECT_EQ(f->anchor, 1);
    EXPECT_EQ(f->activeEnd, 9);
    for (int i = 0; i < 10; ++i) dragTo(*f, 80);
    EXPECT_EQ(f->viewRight, 182);  // stops at the text end
    dragTo(*f, -5);
    EXPECT_EQ(f->viewLeft, 102);
    EXPECT_EQ(f->anchor, 1);
}

TEST_F(ScrollingTest, DraggingAShortTextDoesNotScroll) {
    setText(*f, "Fe2O3");
    clickAt(*f, 0);
    EXPECT_TRUE(dragTo(*f, 200));
    EXPECT_EQ(f->activeEnd, 5);
    EXPECT_EQ(f->viewLeft, -1);
    EXPECT_TRUE(dragTo(*f, -50));
    EXPECT_EQ(f->activeEnd, 0);
    EXPECT_EQ(f->viewLeft, -1);
    EXPECT_FALSE(dragTo(*f, -60));
}

TEST_F(ScrollingTest, ResizeKeepsTheLeftEdge) {
    const int left = f->viewLeft;
    resizeView(*f, 100, 20);
    EXPECT_EQ(f->viewLeft, left);
    EXPECT_EQ(f->viewRight, left + 100);
    releaseView(*f);
    EXPECT_EQ(f->caret, 0);
    EXPECT_EQ(f->viewLeft, 0);
    EXPECT_EQ(f->window, nullptr);
}

}  // namespace
}  // namespace qv::testing
