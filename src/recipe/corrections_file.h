#pragma once
// The corrections of a recipe, in a companion file beside it: `<recipe
// path>.json`. The recipe's own lines stay as every reader of the format
// expects them; the companion holds per row the purity, the excess, the
// bottle and its lot, and the formula as typed:
//
//   {"format": "quorvex-corrections", "version": 1, "rows": [{"row": 1,
//    "formula": "CuSO4(H2O)5", "as_typed": "CuSO4·5H2O", "purity_pct": 99.5,
//    "excess_pct": 0, "bottle_id": 3, "lot": "L-17"}]}

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "form/corrections.h"

namespace qv {

class Model;

inline constexpr std::string_view kCorrectionsFormat = "quorvex-corrections";
inline constexpr int kCorrectionsVersion = 1;

inline std::string correctionsPath(const std::string& recipePath) { return recipePath + ".json"; }

// The companion's text for the corrections of the listed (Free or Fixed)
// rows; empty when none changes the grams or names a bottle or lot.
std::string correctionsFileText(const Model& model, const Corrections& corrections);

// Writes the companion beside the recipe, or removes an old one when no
// listed row has a correction, so that it cannot come back on the next Open.
bool writeCorrectionsFile(const Model& model, const Corrections& corrections, const std::string& recipePath);

struct CorrectionsRead {
    enum class State { Absent, Read, Damaged } state = State::Absent;
    Corrections corrections;             // the entries that still fit their row
    std::map<int, std::string> asTyped;  // row -> the formula as typed
    std::vector<int> ignoredRows;        // row numbers (1..30) whose compound changed
    std::string message;                 // for the status box; empty when all is well
};

// Reads the companion of a loaded recipe. An entry whose formula no longer has
// the composition of its row is left out and its row named in the message; a
// damaged file gives a message and no corrections at all.
CorrectionsRead readCorrections(const Model& model, std::string_view text, const std::string& name);
CorrectionsRead readCorrectionsFile(const Model& model, const std::string& recipePath);

}  // namespace qv
