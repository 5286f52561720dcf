#include "core/composition.h"

#include <gtest/gtest.h>

#include "core/formula_parser.h"
#include "support/element_file.h"

namespace qv {
namespace {

class CompositionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::loadElementText(table, test::kSmallElementFile), 7); }
    // Evaluated twice: the first evaluation must leave the tree as it was.
    Composition eval(std::string_view text, double factor = 1.0) {
        std::unique_ptr<FormulaNode> tree;
        Composition first, second;
        EXPECT_EQ(parseFormula(table, text, &tree), ParseOk) << text;
        EXPECT_TRUE(evaluateFormula(factor, tree.get(), first) == 0 &&
                    evaluateFormula(factor, tree.get(), second) == 0 && first == second)
            << text;
        return first;
    }

    ElementTable table;
    // Indices in kSmallElementFile.
    static constexpr int H = 0, C = 1, O = 2, Ca = 3, Ti = 4, Ba = 5, Fe = 6;
};

TEST_F(CompositionTest, EvaluatesInElementFileOrderAndWrites) {
    EXPECT_EQ(eval("Ca(OH)2"), (Composition{{H, 2}, {O, 2}, {Ca, 1}}));
    EXPECT_EQ(eval("CH3COOH"), (Composition{{H, 4}, {C, 2}, {O, 2}}));
    EXPECT_EQ(eval("((H2)3O)2"), (Composition{{H, 12}, {O, 2}}));
    EXPECT_EQ(eval("H0"), (Composition{{H, 0.0}}));
    EXPECT_TRUE(eval("()").empty());
    EXPECT_EQ(eval("Ba(Ti(O3)2)2.5", 2.0), (Composition{{O, 30}, {Ti, 5}, {Ba, 2}}));

    FormulaNode element;  // a tree must start at a group
    element.kind = NodeKind::Element;
    for (FormulaNode* tree : {static_cast<FormulaNode*>(nullptr), &element}) {
        Composition out{{H, 1}};
        EXPECT_TRUE(evaluateFormula(1.0, tree, out) == 1 && out.empty()) << tree;
    }
    // Amounts within 5e-7 of zero or one are not written.
    const std::pair<const char*, const char*> cases[] = {{"Fe2O3", "O3Fe2"},
                                                         {"H1.0000004", "H"},
                                                         {"H1.000001", "H1.000001"},
                                                         {"H6e-7", "H0.000001"},
                                                         {"H4e-7O-4e-7", ""},
                                                         {"CaO-1.5", "O-1.5Ca"},
                                                         {"H0", ""}};
    for (const auto& [formula, text] : cases)
        EXPECT_EQ(compositionText(table, eval(formula)), text) << formula;
    EXPECT_EQ(compositionText(table, {{99, 2.0}}), "") << "unknown indices are not printed";
}

TEST_F(CompositionTest, ArithmeticProjectionAndMass) {
    const Composition caco3{{C, 1}, {O, 3}, {Ca, 1}};
    Composition dst = caco3;
    subtractComposition(dst, {{O, 1}, {Ca, 1}});
    EXPECT_EQ(dst, (Composition{{C, 1}, {O, 2}, {Ca, 0}}));
    Composition empty;
    subtractComposition(empty, {{Ba, 2}});
    EXPECT_EQ(empty, (Composition{{Ba, -2}}));

    scaleComposition(dst, caco3, 2.0);
    EXPECT_EQ(dst, (Composition{{C, 2}, {O, 6}, {Ca, 2}}));
    addScaled(dst, {{H, 1}, {O, 1}}, 3.0);
    subtractScaled(dst, {{Fe, 1}, {O, 2}}, 4.0);
    EXPECT_EQ(dst, (Composition{{H, 3}, {C, 2}, {O, 1}, {Ca, 2}, {Fe, -4}}));
    // Same object on both sides.
    addScaled(dst, dst, 1.0);
    EXPECT_EQ(dst[O], 2.0);
    subtractComposition(dst, dst);
    EXPECT_EQ(dst[Fe], 0.0);
    const std::map<int, int> keys{{H, 1}, {O, 2}, {Fe, 1}};
    for (auto [element, included] : {std::pair{H, false}, {O, true}, {Fe, true}})
        table.setIncluded(element, included);
    dst = {{Ba, 9}};
    projectOnIncluded(dst, keys, table, {{O, 3}, {Fe, 2}}, 2.0);
    EXPECT_EQ(dst, (Composition{{O, 6}, {Fe, 4}}));
    projectOnIncluded(dst, keys, table, {{Fe, 2}}, 2.0);
    EXPECT_EQ(dst, (Composition{{O, 0}, {Fe, 4}}));
    projectOnIncluded(dst, keys, table, dst, 0.5);
    EXPECT_EQ(dst, (Composition{{O, 0}, {Fe, 2}}));

    EXPECT_DOUBLE_EQ(compositionMass(table, eval("BaTiO3")), 137.33 + 47.87 + 3 * 16.0);
    EXPECT_EQ(compositionMass(table, {}), 0.0);
    EXPECT_DOUBLE_EQ(compositionMass(table, {{O, -1}}), -16.0);
}

}  // namespace
}  // namespace qv
