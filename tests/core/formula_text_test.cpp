#include "core/formula_text.h"

#include <gtest/gtest.h>

#include "core/composition.h"
#include "core/formula_parser.h"
#include "core/number_format.h"
#include "support/element_file.h"

namespace qv {
namespace {

class FormulaTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::loadElementText(table,
                                        "1 H 1.008 m\n2 O 16 m\n3 S 32.06 m\n4 Ca 40.08\n5 Cu 63.55\n"
                                        "6 Mo 95.95\n7 N 14.01 m\n8 Li 6.94\n"),
                  8);
    }
    // "invalid" or the composition text and molar mass, as `mass` prints them.
    std::string describe(std::string_view text) {
        std::unique_ptr<FormulaNode> tree;
        if (parseFormula(table, text, &tree) != ParseOk) return "invalid";
        Composition c;
        EXPECT_EQ(evaluateFormula(1.0, tree.get(), c), 0);
        return compositionText(table, c) + " " + formatDecimal(compositionMass(table, c), 6);
    }
    ElementTable table;
};

TEST_F(FormulaTextTest, HydratesAndAmountsPastTheLargestDouble) {
    // Separators: the UTF-8 middle dot, the editor's single byte for it, a
    // bullet and the star.
    const std::pair<const char*, const char*> cases[] = {
        {"CuSO4\u00B75H2O", "CuSO4(H2O)5"}, {"CuSO4\2675H2O", "CuSO4(H2O)5"},
        {"CuSO4\u20225H2O", "CuSO4(H2O)5"}, {"CaSO4*0.5H2O", "CaSO4(H2O)0.5"},
        {"LiOH*H2O", "LiOH(H2O)"},          {"(NH4)6Mo7O24*4H2O", "(NH4)6Mo7O24(H2O)4"},
        {"S*Ca*2O", "S(Ca)(O)2"},           {"3CuSO4*8H2O", "(CuSO4)3(H2O)8"}};
    for (const auto& [typed, bracketed] : cases) {
        EXPECT_EQ(bracketedFormula(typed), bracketed);
        EXPECT_EQ(describe(typed), describe(bracketed)) << bracketed;
        EXPECT_TRUE(sameComposition(table, typed, bracketed)) << bracketed;
    }
    EXPECT_EQ(describe("CuSO4*5H2O"), "H10O9SCu 249.69");
    EXPECT_TRUE(sameComposition(table, "CuSO4*5H2O", "CuH10SO9"));
    EXPECT_FALSE(sameComposition(table, "CuSO4*5H2O", "CuSO4.5H2O"));
    EXPECT_FALSE(sameComposition(table, "CuSO4*5H2O", "Xx"));
    // Not hydrates: a part needs a formula, a separator sits outside brackets,
    // a leading count needs a separator and is unsigned.
    for (const char* bad : {"CuSO4*", "*H2O", "CuSO4**H2O", "CuSO4*5", "(CuSO4*H2O)", "Cu(SO4*H2O)", "2H2O",
                            "CuSO4*-5H2O", "CuSO4*5 H2O", "CuSO4*h2o"})
        EXPECT_EQ(describe(bad), "invalid") << bad;
    EXPECT_EQ(bracketedFormula("CuSO4*"), "CuSO4*") << "left as typed when it cannot be split";
    EXPECT_EQ(bracketedFormula("Ba0.5Sr"), "Ba0.5Sr");
    // Sums, products and molar masses that overflow (inf times 0 is nan);
    // cancelling amounts and subnormal counts are fine.
    for (const char* text : {"H1e308H1e308", "H9e307H9e307", "(H1e200)1e109", "Cu1e307", "(H1e200O0)1e200",
                             "H*1e308H1e308", "(O1e200)1e200"})
        EXPECT_EQ(describe(text), "invalid") << text;
    for (const char* text : {"H1e308H-1e308", "H8e307H8e307", "(H1e200)1e108", "(O1e-200)1e300", "Cu1e305",
                             "H1e300", "H1e-320O", "(H4.9e-324)0.5"})
        EXPECT_NE(describe(text), "invalid") << text;
    EXPECT_EQ(describe("H1e300"), "H" + formatDecimal(1e300, 6) + " " + formatDecimal(1.008e300, 6));
}

TEST_F(FormulaTextTest, RunsDrawnAlikeAndDecimalTrapHint) {
    auto runs = [](std::string_view text) {
        std::string out;
        for (const FormulaRun& r : formulaRuns(text))
            out += (r.fullSize ? "[" : "_") + std::string(r.text) + " ";
        return out;
    };
    EXPECT_EQ(runs("Ca(OH)2"), "[Ca(OH) _2 ");
    EXPECT_EQ(runs("3CdSO4\u00B78.5H2O"), "[3CdSO _4 [\u00B78.5H _2 [O ");
    EXPECT_EQ(runs("2H2O"), "_2 [H _2 [O ") << "no separator: a leading digit stays a count";
    for (const char* trap : {"CuSO4.5H2O", "Na2CO3.10H2O", "CuSO4.H2O", "Cu(SO4)1.5(H2O)", "CaSO4.5H2OLi"})
        EXPECT_TRUE(decimalTrapHint(trap)) << trap;
    for (const char* fine : {"Ba0.5Sr0.5TiO3", "CuSO4*5H2O", "CuSO4(H2O)5", "Li0.5H2O", "CuSO4.5H2O2",
                             "CuSO4.5H2Os", "O2.5", "4.5H2O", ""})
        EXPECT_FALSE(decimalTrapHint(fine)) << fine;
}

}  // namespace
}  // namespace qv
