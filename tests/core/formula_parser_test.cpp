#include "core/formula_parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/element_table.h"
#include "support/element_file.h"

namespace qv {
namespace {

class FormulaParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(test::loadElementText(
                      table, "1 H 1.008 m\n2 C 12.01 m\n3 O 16 m\n4 Ca 40.08\n5 Cu 63.55\n"
                             "6 S 32.06 m\n7 Fe 55.85\n8 N 14.01 m\n9 La 138.9\n10 Uuq 289\n"
                             "11 He 4 m\n"),
                  0);
    }
    int parse(std::string_view text) { return parseFormula(table, text, &tree); }
    int idx(const char* s) const { return table.findElement(s); }

    ElementTable table;
    std::unique_ptr<FormulaNode> tree;
};

TEST_F(FormulaParserTest, TreeShape) {
    ASSERT_EQ(parse("H2O"), ParseOk);
    ASSERT_EQ(tree->kind, NodeKind::Group);
    EXPECT_EQ(tree->depth, 0);
    ASSERT_EQ(tree->value, 2);
    ASSERT_EQ(tree->children.size(), 2u);
    EXPECT_EQ(tree->children[0]->kind, NodeKind::Element);
    EXPECT_EQ(tree->children[0]->value, idx("H"));
    EXPECT_EQ(tree->children[0]->multiplier, 2.0);
    EXPECT_EQ(tree->children[1]->multiplier, 1.0);
    EXPECT_EQ(tree->children[1]->depth, 1);

    ASSERT_EQ(parse("Ca(OH)2"), ParseOk);
    ASSERT_EQ(tree->children.size(), 2u);
    const FormulaNode& group = *tree->children[1];
    EXPECT_EQ(group.kind, NodeKind::Group);
    EXPECT_EQ(group.multiplier, 2.0);
    EXPECT_EQ(group.value, 2);
    EXPECT_EQ(group.depth, 1);
    EXPECT_EQ(group.children[0]->value, idx("O"));
    EXPECT_EQ(group.children[1]->value, idx("H"));
    EXPECT_EQ(group.children[1]->depth, 2);

    ASSERT_EQ(parse("HHHHHHHHHHHH"), ParseOk);
    EXPECT_EQ(tree->value, 12);
    EXPECT_EQ(tree->children.size(), 12u);

    ASSERT_EQ(parse(""), ParseOk);
    EXPECT_TRUE(tree->children.empty());
    ASSERT_EQ(parse("()3"), ParseOk);
    EXPECT_EQ(tree->children[0]->value, 0);
    EXPECT_EQ(tree->children[0]->multiplier, 3.0);
}

TEST_F(FormulaParserTest, Brackets) {
    EXPECT_EQ(parse("((H))"), ParseOk);
    EXPECT_EQ(parse("(H"), ParseUnbalanced);
    EXPECT_EQ(parse("H)"), ParseUnbalanced);
    EXPECT_EQ(parse(")H("), ParseUnbalanced);
    EXPECT_EQ(parse("(h"), ParseUnbalanced) << "brackets are checked before anything else";
    EXPECT_EQ(checkParentheses("(()())"), 0);
    EXPECT_EQ(checkParentheses("())("), 1);
}

TEST_F(FormulaParserTest, InvalidTexts) {
    for (const char* text : {"2H2O", "h2o", "H2O ", "CuSO4*5H2O", "[Fe(CN)6]", "co", "Hf",
                             "H-", "H+", "H.", "H1e999", "H-1e999", "(H)1e400", "H+O", " H"}) {
        EXPECT_EQ(parse(text), ParseError) << text;
    }
    tree.reset();
    EXPECT_EQ(parseFormula(table, "Fex", &tree), ParseError);
    EXPECT_EQ(tree, nullptr) << "nothing is handed over on failure";
}

TEST_F(FormulaParserTest, SymbolsAreGreedyAndCaseSensitive) {
    ASSERT_EQ(parse("Uuq"), ParseOk);
    EXPECT_EQ(tree->children[0]->value, idx("Uuq"));
    ASSERT_EQ(parse("CO"), ParseOk);
    EXPECT_EQ(tree->children.size(), 2u);
    ASSERT_EQ(parse("CuS"), ParseOk);
    EXPECT_EQ(tree->children[0]->value, idx("Cu"));
    // "Hee" is not split into He + e or H + ee.
    EXPECT_EQ(parse("Hee"), ParseError);
    // Only three letters are ever taken: "Uuqa" is Uuq followed by "a".
    EXPECT_EQ(parse("Uuqa"), ParseError);
}

TEST_F(FormulaParserTest, Counts) {
    struct Case {
        const char* text;
        double multiplier;
        std::size_t children;
    };
    for (const Case& c : {Case{"O2.5", 2.5, 1}, Case{"La.5", 0.5, 1}, Case{"H0", 0.0, 1},
                          Case{"H-1", -1.0, 1}, Case{"O2e1", 20.0, 1}, Case{"O2E1", 20.0, 1},
                          Case{"H2He", 2.0, 2}, Case{"H1e-400", 0.0, 1}, Case{"H 2", 2.0, 1},
                          Case{"H+3", 3.0, 1}, Case{"H5.", 5.0, 1}}) {
        ASSERT_EQ(parse(c.text), ParseOk) << c.text;
        EXPECT_EQ(tree->children.size(), c.children) << c.text;
        EXPECT_DOUBLE_EQ(tree->children[0]->multiplier, c.multiplier) << c.text;
    }
    // Hexadecimal, infinity and not-a-number are not counts.
    EXPECT_EQ(parse("H0x1"), ParseError);
    EXPECT_EQ(parse("(H)inf"), ParseError);
    EXPECT_EQ(parse("(H)nan"), ParseError);
    EXPECT_EQ(parse("H0X1F"), ParseError);
    // A dot after a count is its decimal point: CuSO4.5H2O.
    ASSERT_EQ(parse("CuSO4.5H2O"), ParseOk);
    ASSERT_EQ(tree->children.size(), 5u);
    EXPECT_DOUBLE_EQ(tree->children[2]->multiplier, 4.5);
}

TEST_F(FormulaParserTest, ValidateOnlyAndDeepNesting) {
    EXPECT_EQ(parseFormula(table, "Ca(OH)2"), ParseOk);
    EXPECT_EQ(parseFormula(table, "Ca(OH"), ParseUnbalanced);

    const std::string deep = std::string(240, '(') + "H" + std::string(240, ')');
    ASSERT_EQ(parse(deep), ParseOk);
    const FormulaNode* n = tree.get();
    while (n->kind == NodeKind::Group) n = n->children[0].get();
    EXPECT_EQ(n->depth, 241);

    // Far beyond what the editor can hold: refused, not a stack overflow.
    const std::string abyss = std::string(200000, '(') + std::string(200000, ')');
    EXPECT_EQ(parse(abyss), ParseError);
}

TEST_F(FormulaParserTest, EmbeddedZeroByteIsNotTheEnd) {
    EXPECT_EQ(parse(std::string_view("H2\0O", 4)), ParseError);
}

}  // namespace
}  // namespace qv
