#include <gtest/gtest.h>

#include <cmath>

#include "plan/as_weighed.h"
#include "plan/minimum_weight.h"
#include "plan/series.h"
#include "plan/weighing_plan.h"
#include "support/test_form.h"

namespace qv {

constexpr double kBaCO3 = 197.34, kTiO2 = 79.87, kBaTiO3 = 233.2;
// BaCO3 and TiO2 for 10 g of BaTiO3.
constexpr double B = kBaCO3 * 10 / kBaTiO3, T = kTiO2 * 10 / kBaTiO3;

TEST(Plan, RescalingCompositionAsWeighedFiringAndMinimumWeight) {
    test::TestForm f{"1 Ba 137.33\n2 Ti 47.87\n3 La 138.91\n4 C 12.01 m\n5 O 16 m\n"};
    const auto plan = [&](std::string_view final,
                          std::initializer_list<std::pair<std::string_view, double>> rows, double grams,
                          const Corrections& corrections = {}) {
        f.final().setEntry(final, 1, false);
        int row = 0;
        for (auto [text, ratio] : rows) f.row(row++).setEntry(text, ratio, true);
        return makeWeighingPlan(f.model, grams, corrections).value();
    };
    const auto titanate = [&](const Corrections& c = {}) {
        return plan("BaTiO3", {{"BaCO3", 1}, {"TiO2", 1}}, 10, c);
    };
    // Every target is the planned grams times the factor.
    const struct {
        const char* what;
        std::vector<std::pair<int, double>> steps;  // row, actual (-1: discard)
        double factor, toAdd0, toAdd1;
    } cases[] = {
        {"BaCO3 overshot", {{0, 8.6}}, 8.6 / B, 0, 8.6 * T / B},
        {"both, different ratios", {{0, 8.6}, {1, 3.6}}, 3.6 / T, 3.6 * B / T - 8.6, 0},
        {"weighed short: a top-up, no shrinking", {{0, 8}}, 1, B - 8, T},
        {"discarded, weighed again", {{0, 9}, {0, -1}, {0, 8.5}}, 8.5 / B, 0, 8.5 * T / B},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WeighingSession s(titanate());
        for (auto [row, grams] : c.steps) grams < 0 ? s.discard(row) : (void)s.setActual(row, grams);
        EXPECT_NEAR(s.factor(), c.factor, 1e-12);
        EXPECT_NEAR(s.toAdd(0), c.toAdd0, 1e-9);
        EXPECT_NEAR(s.toAdd(1), c.toAdd1, 1e-9);
    }
    for (double overshoot = 8.5; overshoot < 8.6; overshoot += 0.001) {  // on its target, not "-0" away
        WeighingSession s(titanate());
        s.setActual(0, overshoot);
        EXPECT_EQ(s.toAdd(0), 0.0) << overshoot;
    }
    WeighingSession s(titanate());
    EXPECT_FALSE(s.setActual(0, -1) || s.setActual(0, NAN) || s.addTopUp(0, -1) || s.actual(0));
    s.setActual(0, 9);
    s.discard(0);
    for (double grams : {8.0, 0.4}) s.addTopUp(0, grams);
    EXPECT_EQ(std::pair(s.discarded(0), *s.actual(0)), std::pair(9.0, 8.0 + 0.4));
    EXPECT_FALSE(s.complete());
    s.setActual(1, 0);
    EXPECT_TRUE(s.complete());

    // Purity and excess raise the planned grams; O is not on the Include list.
    const WeighingPlan p = titanate({{0, {99.5, 0, {}, {}}}, {1, {100, 5, {}, {}}}});
    EXPECT_NEAR(p.rows[0].planned, B / 0.995, 1e-12);
    EXPECT_NEAR(p.rows[1].planned, T * 1.05, 1e-12);
    EXPECT_NEAR(p.rows[1].grams, T, 1e-12);
    EXPECT_EQ(std::tuple(p.elements.size(), planElement(p, "Ti"), planElement(p, "O")),
              std::tuple(2u, 1, -1));
    // A series' columns take purity and excess by row.
    const auto columns =
        seriesColumns(f.model, std::map<int, double>{{0, 99}}, std::map<int, double>{{1, 5}});
    EXPECT_EQ(std::pair(columns.at(0).purity, columns.at(1).excess), std::pair(99.0, 5.0));

    const double nBa = 8.6 / kBaCO3, nTi = 10 / kBaTiO3, ba = 2 * nBa / (nBa + nTi), ti = 2 - ba;
    const struct {
        const char* what;
        Corrections corrections;
        double actual0;  // BaCO3; TiO2 is weighed as planned; < 0: as planned
        int per;
        double ba, ti, deviationBa, deviationTi;
    } compositions[] = {
        {"exact", {}, -1, -1, 1, 1, 0, 0},
        {"exact, per Ti", {}, -1, 1, 1, 1, 0, 0},
        {"BaCO3 overshot", {}, 8.6, -1, ba, ti, 100 * (ba - 1), 100 * (ti - 1)},
        {"BaCO3 overshot, per Ti", {}, 8.6, 1, nBa / nTi, 1, 100 * (nBa / nTi - 1), 0},
        {"99 % BaCO3 weighed as if pure", {{0, {99, 0, {}, {}}}}, B, 1, 0.99, 1, -1, 0},
        {"TiO2 excess is no error", {{1, {100, 5, {}, {}}}}, -1, 0, 1, 1.05, 0, 0},
    };
    for (const auto& c : compositions) {
        SCOPED_TRACE(c.what);
        WeighingSession s(titanate(c.corrections));
        EXPECT_FALSE(asWeighedCounts(s, c.per));
        s.setActual(0, c.actual0 < 0 ? s.plan().rows[0].planned : c.actual0);
        s.setActual(1, s.plan().rows[1].planned);
        const ElementCounts counts = asWeighedCounts(s, c.per).value();
        EXPECT_NEAR(counts[0], c.ba, 1e-9);
        EXPECT_NEAR(counts[1], c.ti, 1e-9);
        const std::vector<double> dev = deviationPct(counts, plannedCounts(s.plan(), c.per).value());
        EXPECT_NEAR(dev[0], c.deviationBa, 1e-7);
        EXPECT_NEAR(dev[1], c.deviationTi, 1e-7);
    }
    EXPECT_EQ(countsFormula(titanate(), {1.0000001, 0.98765}), "BaTi0.9877");

    const Completeness none =
        firingCompleteness(expectedMassChangePct(plan("BaTiO3", {{"BaO", 1}, {"TiO2", 1}}, 10)), 10, 9);
    EXPECT_FALSE(none.pct);
    EXPECT_EQ(
        none.message,
        "Complete reaction changes no mass here, so the mass after firing cannot tell how far it went.");
    EXPECT_FALSE(firingCompleteness(-15.9, 0, 0).pct);

    // The minimum weight rule, refusals, and the dopant below it.
    const struct {
        BalanceRating balance;
        double grams;
    } ratings[] = {
        {{}, 0.082},                            // 0.1 mg, 0.10 %: 2 x 0.41 d / 0.001
        {{0.0001, 0.00003, 0.10}, 0.082},       // s below 0.41 d
        {{0.0001, 0.0001, 0.10}, 0.2},          // s above 0.41 d
        {{0.0001, std::nullopt, 1.0}, 0.0082},  // 1 %
    };
    for (const auto& c : ratings) {
        EXPECT_EQ(checkBalanceRating(c.balance), "");
        EXPECT_NEAR(minimumWeight(c.balance), c.grams, 1e-12);
    }
    EXPECT_TRUE(belowMinimumWeight(0.05, 0.082) && !belowMinimumWeight(0.082, 0.082) &&
                !belowMinimumWeight(0, 0.082));

    const WeighingPlan doped = plan("Ba0.99La0.01TiO3", {{"BaCO3", 0.99}, {"La2O3", 0.005}, {"TiO2", 1}}, 1);
    EXPECT_EQ(minimumWeightNotice(doped, checkMinimumWeight(doped, {})),
              "Row 2 (La2O3): 6.99 mg is below the balance's minimum weight of 82 mg.\n"
              "Every row reaches it from 11.7389 g of Ba0.99La0.01TiO3: weigh a larger batch, or the small "
              "amounts from a diluted premix.");
    EXPECT_EQ(minimumWeightNotice(doped, checkMinimumWeight(doped, {0.0001, std::nullopt, 10})), "");
}

}  // namespace qv
