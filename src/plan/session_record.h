#pragma once
// A weighing session as the lab database keeps it, and the firing check on a
// session recorded earlier.

#include <optional>
#include <string>

#include "plan/as_weighed.h"
#include "store/lab_database.h"

namespace qv {

class WeighingSession;

// Element symbol -> count, as a compact JSON object ({"Ba":1.0081,"Ti":0.9919}).
std::string countsJson(const WeighingPlan& plan, const ElementCounts& counts);

// The record: the recipe's text, the tag, each row's planned and actual
// grams with its bottle and lot, the factor and, once every row is weighed,
// the composition as weighed. The final grams are those the weighed powders
// make (grams x factor); the time is left for the database to stamp.
store::Session sessionRecord(const WeighingSession& session, const std::string& recipeText,
                             const std::string& sampleTag, int per = -1);

// The mass change that complete reaction gives for a recorded session.
std::optional<double> expectedMassChangePct(const store::Session& session);

// Sets the masses after and before firing (by default the sum of the actual
// masses) and the completeness on the record; the message says why there is
// no completeness.
Completeness applyFiredMass(store::Session& session, double firedGrams, std::optional<double> beforeGrams);

}  // namespace qv
