#include "core/formula_parser.h"

#include <gtest/gtest.h>

#include "core/number_format.h"
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

    // The tree written back as a formula: a group in brackets, a count after
    // the node it belongs to unless it is 1. Checks each node's depth and each
    // group's child count on the way.
    std::string shape(const FormulaNode& n) {
        std::string s = n.kind == NodeKind::Element ? table.symbol(n.value) : "(";
        for (const auto& child : n.children) {
            EXPECT_EQ(child->depth, n.depth + 1);
            s += shape(*child);
        }
        if (n.kind == NodeKind::Group) {
            EXPECT_EQ(n.value, static_cast<int>(n.children.size()));
            s += ")";
        }
        return n.multiplier == 1.0 ? s : s + formatShortest(n.multiplier);
    }
    std::string written(std::string_view text) {
        if (parse(text) != ParseOk) return "invalid";
        EXPECT_EQ(tree->depth, 0);
        const std::string s = shape(*tree);
        return s.substr(1, s.size() - 2);
    }

    ElementTable table;
    std::unique_ptr<FormulaNode> tree;
};

TEST_F(FormulaParserTest, TreesOfValidFormulasAndFailures) {
    for (const std::string& text :
         {"Ca(OH)2"s, ""s, "()3"s, "((H))"s, "CO"s, "Uuq"s, "HHHHHHHHHHHH"s, "O2.5"s, "H0"s, "H-1"s, "H2He"s,
          "CuS"s, std::string(240, '(') + "H" + std::string(240, ')')})
        EXPECT_EQ(written(text), text);
    const std::pair<const char*, const char*> counts[] = {{"La.5", "La0.5"}, {"O2e1", "O20"}, {"O2E1", "O20"},
                                                          {"H1e-400", "H0"}, {"H 2", "H2"},   {"H+3", "H3"},
                                                          {"H5.", "H5"},     {"H1", "H"}};
    for (const auto& [text, shape] : counts) EXPECT_EQ(written(text), shape);
    EXPECT_EQ(written("CuSO4.5H2O"), "CuSO4.5H2O") << "a dot after a count is its decimal point";
    // Brackets are checked before anything else.
    for (const char* text : {"(H", "H)", ")H(", "(h"}) EXPECT_EQ(parse(text), ParseUnbalanced) << text;
    // Symbols are case-sensitive, never split ("Hee") and at most three
    // letters ("Uuqa"); hexadecimal, infinity and not-a-number are not
    // counts; an embedded zero byte is not the end; deep nesting is refused,
    // not a stack overflow.
    const std::string failures[] = {"h2o"s,   "co"s,     "Hf"s,         "Hee"s,       "Uuqa"s,     "2H2O"s,
                                    "H2O "s,  " H"s,     "CuSO4+5H2O"s, "[Fe(CN)6]"s, "H-"s,       "H+"s,
                                    "H."s,    "H+O"s,    "H1e999"s,     "H-1e999"s,   "(H)1e400"s, "H0x1"s,
                                    "H0X1F"s, "(H)inf"s, "(H)nan"s,     "H2\0O"s};
    for (const std::string& text : failures) EXPECT_EQ(parse(text), ParseError) << text;
    EXPECT_EQ(parse(std::string(200000, '(') + std::string(200000, ')')), ParseError);
    EXPECT_EQ(parseFormula(table, "Ca(OH"), ParseUnbalanced) << "validation without a tree";
    tree.reset();
    EXPECT_EQ(parseFormula(table, "Fex", &tree), ParseError);
    EXPECT_EQ(tree, nullptr) << "nothing is handed over on failure";
}

}  // namespace
}  // namespace qv
