#pragma once
// Can the balance weigh it? The smallest net weight a balance weighs to a
// tolerance (the pharmacopoeia's rule for balances): 2 x s / (t / 100), with
// s the repeatability (standard deviation), 0.41 d where s is unknown or
// below 0.41 d (d the readability), and t the tolerance in per cent.

#include <optional>
#include <string>
#include <vector>

namespace qv {

struct WeighingPlan;

struct BalanceRating {
    double readability = 0.0001;          // d, grams
    std::optional<double> repeatability;  // s, grams
    double tolerancePct = 0.10;           // t
};

// Empty when the values can be used, else which one is wrong and why.
std::string checkBalanceRating(const BalanceRating& balance);

double minimumWeight(const BalanceRating& balance);

// True for an amount that is to be weighed (above zero) but below the
// minimum weight, such as a small dopant or a small top-up.
bool belowMinimumWeight(double grams, double minWeight);

struct MinimumWeightCheck {
    double minWeight = 0.0;
    // Grams of the final compound at which every row reaches the minimum
    // weight: grams x max over the rows of minWeight / planned.
    double minBatch = 0.0;
    std::vector<int> below;  // positions in plan.rows, judged on the planned grams
};

MinimumWeightCheck checkMinimumWeight(const WeighingPlan& plan, const BalanceRating& balance);

// One line per row below the minimum weight and the remedy; empty when none.
std::string minimumWeightNotice(const WeighingPlan& plan, const MinimumWeightCheck& check);

}  // namespace qv
