#include <string>

#include "editing_fixture.h"

namespace qv::testing {
namespace {

const std::string kDot = "\xC2\xB7";  // the middle dot, UTF-8

class HydrateEditingTest : public EditingTest {
protected:
    HydrateEditingTest() {
        widths.widths[0xB7] = 5;
        widths.coefficientWidths.fill(8);  // coefficients are wider than counts
    }
    // Each cell as its character and 'n' (full size) or 's' (count).
    std::string roles() const {
        std::string out;
        for (int i = 0; i < f->edit().length(); ++i)
            out += {f->edit().cells()[i].ch, f->edit().cells()[i].fullSize ? 'n' : 's'};
        return out;
    }
};

TEST_F(HydrateEditingTest, SeparatorsAreTypedAndLeadingCountsStandFullSize) {
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
}

TEST_F(HydrateEditingTest, PastedDotsAndBulletsBecomeOneMiddleDot) {
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

}  // namespace
}  // namespace qv::testing
