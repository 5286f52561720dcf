#pragma once
// Precursor purity: a material of PCT % purity is weighed heavier by 100/PCT
// so that the grams of the material itself stay what the recipe asks for.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qv {
class Model;
}

namespace qv::cli {

struct Purity {
    std::string formula;   // as a source row writes it
    double percent = 100;  // in (0, 100]
};

// Reads "FORMULA=PCT". False, with the reason in `error`, for a missing part,
// a percentage outside (0, 100], or one that is not a plain number.
bool parsePurity(std::string_view text, Purity& purity, std::string& error);

// The percentage of each listed source row (Free or Fixed) named by a purity.
// False, with the reason in `error`, when some formula is on no listed row or
// is named twice.
bool purityByRow(const Model& model, const std::vector<Purity>& purities, std::map<int, double>& byRow,
                 std::string& error);

// The grams to weigh of a material of `percent` purity.
inline double correctedGrams(double grams, double percent) { return grams / (percent / 100.0); }

}  // namespace qv::cli
