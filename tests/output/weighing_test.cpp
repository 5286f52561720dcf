#include "output/weighing.h"

#include <gtest/gtest.h>

#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr double kBaCO3 = 137.33 + 12.01 + 48;
constexpr double kTiO2 = 47.87 + 32;
constexpr double kBaTiO3 = 137.33 + 47.87 + 48;

class Weighing : public ::testing::Test {
protected:
    // Final compound and fixed rows, as a recipe would set them.
    void set(std::string_view final, double ratio,
             std::initializer_list<std::tuple<int, std::string_view, double>> rows) {
        f.final().setEntry(final, ratio, false);
        for (auto [row, text, r] : rows) f.row(row).setEntry(text, r, true);
    }
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(Weighing, RatiosScaleOutAndResidualListsEveryElement) {
    set("BaTiO3", 1, {{0, "BaCO3", 1}, {1, "TiO2", 1}});
    const WeighingAmounts one = computeWeighingAmounts(f.model, 10);
    ASSERT_TRUE(one.ok);
    ASSERT_EQ(one.rows.size(), 2u);
    EXPECT_DOUBLE_EQ(one.rows[0].grams, kBaCO3 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(one.rows[1].grams, kTiO2 * 10 / kBaTiO3);
    // C and O are excluded from the equations but still show, in table order.
    EXPECT_EQ(balanceResidual(f.model), "CO2");

    set("BaTiO3", 2, {{0, "BaCO3", 2}, {1, "TiO2", 2}});
    const WeighingAmounts two = computeWeighingAmounts(f.model, 10);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_DOUBLE_EQ(two.rows[i].grams, one.rows[i].grams);
    EXPECT_EQ(balanceResidual(f.model), "CO2");
}

TEST_F(Weighing, ExactMixShortfallAndNegativeAmounts) {
    set("BaTiO3", 1, {{0, "BaO", 1}, {1, "TiO2", 1}});
    EXPECT_EQ(balanceResidual(f.model), "");
    set("BaTiO3", 1, {{1, "Ti", -1}});
    EXPECT_EQ(balanceResidual(f.model), "Ti-2O-2");
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, 10).rows[1].grams, -47.87 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, -10).rows[1].grams, 47.87 * 10 / kBaTiO3);
}

// Which rows are weighed, in what order: the text report test.
TEST_F(Weighing, NothingToDivideBy) {
    set("BaTiO3", 1e-7, {{0, "TiO2", 1}});
    EXPECT_EQ(balanceResidual(f.model), "Final Product Ratio is zero.");
    EXPECT_FALSE(computeWeighingAmounts(f.model, 10).ok);
    // O0 parses but weighs nothing: no amounts of inf or nan.
    set("O0", 1, {});
    EXPECT_FALSE(computeWeighingAmounts(f.model, 10).ok);
}

}  // namespace
}  // namespace qv
