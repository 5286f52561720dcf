#include "core/formula_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "core/element_table.h"
#include "support/element_file.h"

namespace qv {
namespace {

using namespace std::string_literals;

class FormulaParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::loadElementText(table,
                                        "1 H 1.008 m\n2 C 12.01 m\n3 O 16 m\n4 Ca 40.08\n5 Cu 63.55\n"
                                        "6 S 32.06 m\n7 Fe 55.85\n8 N 14.01 m\n9 La 138.9\n"
                                        "10 Uuq 289\n11 He 4 m\n"),
                  11);
    }
    int parse(std::string_view text) { return parseFormula(table, text, &tree); }
    int idx(const char* s) const { return table.findElement(s); }

    ElementTable table;
    std::unique_ptr<FormulaNode> tree;
};

TEST_F(FormulaParserTest, TreeShape) {
    ASSERT_EQ(parse("Ca(OH)2"), ParseOk);
    EXPECT_EQ(tree->depth, 0);
    ASSERT_EQ(tree->value, 2);
    EXPECT_EQ(tree->children[0]->kind, NodeKind::Element);
    EXPECT_EQ(tree->children[0]->value, idx("Ca"));
    EXPECT_EQ(tree->children[0]->multiplier, 1.0);
    const FormulaNode& group = *tree->children[1];
    EXPECT_EQ(group.kind, NodeKind::Group);
    EXPECT_EQ(group.multiplier, 2.0);
    EXPECT_EQ(group.value, 2);
    EXPECT_EQ(group.depth, 1);
    EXPECT_EQ(group.children[1]->value, idx("H"));
    EXPECT_EQ(group.children[1]->depth, 2);

    ASSERT_EQ(parse(""), ParseOk);
    EXPECT_TRUE(tree->children.empty());
    ASSERT_EQ(parse("()3"), ParseOk);
    EXPECT_EQ(tree->children[0]->value, 0);
    EXPECT_EQ(tree->children[0]->multiplier, 3.0);
}

TEST_F(FormulaParserTest, ResultCodes) {
    const struct {
        std::string text;
        int code;
    } cases[] = {
        {"((H))", ParseOk},
        {"HHHHHHHHHHHH", ParseOk},
        {"CO", ParseOk},
        {"Uuq", ParseOk},
        {"(H", ParseUnbalanced},
        {"H)", ParseUnbalanced},
        {")H(", ParseUnbalanced},
        {"(h", ParseUnbalanced},  // brackets are checked before anything else
        // Symbols are case-sensitive, never split ("Hee") and at most three letters ("Uuqa").
        {"h2o", ParseError},
        {"co", ParseError},
        {"Hf", ParseError},
        {"Hee", ParseError},
        {"Uuqa", ParseError},
        {"2H2O", ParseError},
        {"H2O ", ParseError},
        {" H", ParseError},
        {"CuSO4+5H2O", ParseError},
        {"[Fe(CN)6]", ParseError},
        {"H-", ParseError},
        {"H+", ParseError},
        {"H.", ParseError},
        {"H+O", ParseError},
        {"H1e999", ParseError},
        {"H-1e999", ParseError},
        {"(H)1e400", ParseError},
        // Hexadecimal, infinity and not-a-number are not counts.
        {"H0x1", ParseError},
        {"H0X1F", ParseError},
        {"(H)inf", ParseError},
        {"(H)nan", ParseError},
        {"H2\0O"s, ParseError},  // an embedded zero byte is not the end
        {std::string(200000, '(') + std::string(200000, ')'), ParseError},  // not a stack overflow
    };
    for (const auto& c : cases) EXPECT_EQ(parse(c.text), c.code) << c.text.substr(0, 20);
    EXPECT_EQ(checkParentheses("(())"), 0);
    EXPECT_EQ(checkParentheses("())("), 1);
    EXPECT_EQ(parseFormula(table, "Ca(OH"), ParseUnbalanced) << "validation without a tree";
    tree.reset();
    EXPECT_EQ(parseFormula(table, "Fex", &tree), ParseError);
    EXPECT_EQ(tree, nullptr) << "nothing is handed over on failure";
}

TEST_F(FormulaParserTest, Counts) {
    const struct {
        const char* text;
        double multiplier;
        std::size_t children;
    } cases[] = {{"O2.5", 2.5, 1},  {"La.5", 0.5, 1},  {"H0", 0.0, 1},   {"H-1", -1.0, 1},
                 {"O2e1", 20.0, 1}, {"O2E1", 20.0, 1}, {"H2He", 2.0, 2}, {"H1e-400", 0.0, 1},
                 {"H 2", 2.0, 1},   {"H+3", 3.0, 1},   {"H5.", 5.0, 1},  {"CuS", 1.0, 2}};
    for (const auto& c : cases) {
        ASSERT_EQ(parse(c.text), ParseOk) << c.text;
        EXPECT_EQ(tree->children.size(), c.children) << c.text;
        EXPECT_DOUBLE_EQ(tree->children[0]->multiplier, c.multiplier) << c.text;
    }
    // A dot after a count is its decimal point: CuSO4.5H2O.
    ASSERT_EQ(parse("CuSO4.5H2O"), ParseOk);
    ASSERT_EQ(tree->children.size(), 5u);
    EXPECT_EQ(tree->children[0]->value, idx("Cu"));
    EXPECT_DOUBLE_EQ(tree->children[2]->multiplier, 4.5);

    const std::string deep = std::string(240, '(') + "H" + std::string(240, ')');
    ASSERT_EQ(parse(deep), ParseOk);
    const FormulaNode* n = tree.get();
    while (n->kind == NodeKind::Group) n = n->children[0].get();
    EXPECT_EQ(n->depth, 241);
}

}  // namespace
}  // namespace qv
