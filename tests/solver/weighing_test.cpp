#include "solver/weighing.h"

#include <gtest/gtest.h>

#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr double kBaCO3 = 137.33 + 12.01 + 48;
constexpr double kTiO2 = 47.87 + 32;
constexpr double kBaTiO3 = 137.33 + 47.87 + 48;
constexpr double kBaO = 137.33 + 16;

class Weighing : public ::testing::Test {
protected:
    void setFinal(std::string_view text, double ratio) {
        f.model.finalCompound.setEntry(text, ratio, false);
    }
    void setRow(int row, std::string_view text, double ratio) {
        f.model.source(row).setEntry(text, ratio, true);
    }
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(Weighing, BariumTitanateFromCarbonateAndOxide) {
    setFinal("BaTiO3", 1);
    setRow(0, "BaCO3", 1);
    setRow(1, "TiO2", 1);
    const WeighingAmounts w = computeWeighingAmounts(f.model, 10);
    ASSERT_TRUE(w.ok);
    ASSERT_EQ(w.rows.size(), 2u);
    EXPECT_EQ(w.rows[0].row, 0);
    EXPECT_DOUBLE_EQ(w.rows[0].molarMass, kBaCO3);
    EXPECT_DOUBLE_EQ(w.rows[0].grams, kBaCO3 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(w.rows[1].grams, kTiO2 * 10 / kBaTiO3);
    // The molar masses are kept in the entries too.
    EXPECT_DOUBLE_EQ(f.model.source(1).molarMassValue, kTiO2);
    EXPECT_DOUBLE_EQ(f.model.finalCompound.molarMassValue, kBaTiO3);
    // Carbon before oxygen, as in the element file.
    EXPECT_EQ(balanceResidual(f.model), "CO2");
}

TEST_F(Weighing, ScalingAllRatiosChangesNothing) {
    setFinal("BaTiO3", 1);
    setRow(0, "BaCO3", 1);
    setRow(1, "TiO2", 1);
    const WeighingAmounts one = computeWeighingAmounts(f.model, 10);
    const std::string residualOne = balanceResidual(f.model);

    setFinal("BaTiO3", 2);
    setRow(0, "BaCO3", 2);
    setRow(1, "TiO2", 2);
    const WeighingAmounts two = computeWeighingAmounts(f.model, 10);
    ASSERT_EQ(two.rows.size(), one.rows.size());
    for (std::size_t i = 0; i < one.rows.size(); ++i)
        EXPECT_DOUBLE_EQ(two.rows[i].grams, one.rows[i].grams);
    EXPECT_EQ(balanceResidual(f.model), residualOne);
}

TEST_F(Weighing, ExactMixHasEmptyResidual) {
    setFinal("BaTiO3", 1);
    setRow(0, "BaO", 1);
    setRow(1, "TiO2", 1);
    EXPECT_EQ(balanceResidual(f.model), "");
    // A shortfall shows as a negative amount.
    setRow(1, "Ti", 1);
    EXPECT_EQ(balanceResidual(f.model), "O-2");
}

TEST_F(Weighing, OnlyFreeAndFixedRowsInRowOrder) {
    setFinal("BaTiO3", 1);
    setRow(7, "TiO2", 1);
    setRow(0, "BaO", 1);
    setRow(3, "BaCO3", 0.5);
    setRow(5, "Xx", 1);                                 // invalid: no such element
    f.model.source(4).setEntry("", 0.0, false);          // empty
    const WeighingAmounts w = computeWeighingAmounts(f.model, 1);
    ASSERT_EQ(w.rows.size(), 3u);
    EXPECT_EQ(w.rows[0].row, 0);
    EXPECT_EQ(w.rows[1].row, 3);
    EXPECT_EQ(w.rows[2].row, 7);
    EXPECT_DOUBLE_EQ(w.rows[0].grams, kBaO / kBaTiO3);
    EXPECT_DOUBLE_EQ(w.rows[1].grams, 0.5 * kBaCO3 / kBaTiO3);
}

TEST_F(Weighing, NegativeValuesAreNotClamped) {
    setFinal("BaTiO3", 1);
    setRow(0, "TiO2", -1);
    const WeighingAmounts w = computeWeighingAmounts(f.model, 10);
    ASSERT_EQ(w.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(w.rows[0].grams, -kTiO2 * 10 / kBaTiO3);
    EXPECT_DOUBLE_EQ(computeWeighingAmounts(f.model, -10).rows[0].grams, kTiO2 * 10 / kBaTiO3);
}

TEST_F(Weighing, ZeroFinalRatioOrMassGivesNoAmounts) {
    setFinal("BaTiO3", 1e-7);
    setRow(0, "TiO2", 1);
    EXPECT_EQ(balanceResidual(f.model), kZeroFinalRatioText);
    EXPECT_FALSE(computeWeighingAmounts(f.model, 10).ok);

    // O0 parses but weighs nothing: no division by a zero molar mass.
    setFinal("O0", 1);
    const WeighingAmounts w = computeWeighingAmounts(f.model, 10);
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.rows.empty());
}

}  // namespace
}  // namespace qv
