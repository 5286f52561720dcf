#include <string>

#include "editing_fixture.h"

namespace qv::testing {
namespace {

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
    EXPECT_EQ(f->text(), "CuSO4*5H2O");
    EXPECT_EQ(roles(), "CnunSnOn4s*n5nHn2sOn");
    EXPECT_EQ(f->edit().cells()[6].width, 8);
    // Replacing '*' by the layout's "·" key keeps the coefficient; deleting it
    // turns the 5 back into a subscript and the cells after it move back.
    selectRange(f->edit(), 5, 5);
    EXPECT_TRUE(key(kKeyMiddleDot));
    EXPECT_EQ(f->text(),
              "CuSO4\xC2\xB7"
              "5H2O");
    EXPECT_EQ(f->edit().length(), 10) << "one cell per character";
    key(kKeyBackspace);
    EXPECT_EQ(roles(), "CnunSnOn4s5sHn2sOn");
    // A first part may carry a count too; the keypad's '*' types one.
    key(kKeyHome);
    type("3");
    key(kKeyEnd);
    EXPECT_TRUE(key(kKeyMultiply));
    type("0.5H2O");
    EXPECT_EQ(roles(), "3nCnunSnOn4s5sHn2sOn*n0n.n5nHn2sOn");
    EXPECT_FALSE(key(kKeyMiddleDot, kModCtrl));
}

TEST_F(HydrateEditingTest, PastedDotsAndBulletsBecomeOneMiddleDot) {
    for (const char* pasted : {"CuSO4\xE2\x80\xA2"
                               "5H2O",
                               "CuSO4\x95"
                               "5H2O",
                               "CuSO4 \xC2\xB7 5H2O"}) {
        setText(*f, "");
        clipboard.content = pasted;
        EXPECT_TRUE(key('V', kModCtrl));
        EXPECT_EQ(f->text(),
                  "CuSO4\xC2\xB7"
                  "5H2O")
            << pasted;
    }
    selectRange(f->edit(), 4, 6);
    EXPECT_TRUE(key('C', kModCtrl));
    EXPECT_EQ(clipboard.content,
              "4\xC2\xB7"
              "5");
    // The limit counts characters, not bytes.
    std::string dots;
    for (int i = 0; i < kFormulaCapacity + 1; ++i) dots += "\xC2\xB7";
    setText(*f, "");
    EXPECT_EQ(insertText(f->edit(), dots), kFormulaCapacity);
}

}  // namespace
}  // namespace qv::testing
