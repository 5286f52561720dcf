#pragma once
// Bottles as CSV, for the library's import and export: a header line
// "id,formula,label,supplier,lot,purity_pct,excess_pct" and one bottle a line.

#include <string>
#include <string_view>
#include <vector>

#include "core/composition.h"
#include "store/lab_database.h"

namespace qv {
class ElementTable;
}

namespace qv::store {

// The bottles whose formula has this composition (written any way), in id order.
std::vector<Bottle> bottlesFor(const std::vector<Bottle>& bottles, const ElementTable& table,
                               const Composition& composition);

std::string bottlesCsv(const std::vector<Bottle>& bottles);

// Reads the columns named by the header in any order; "formula" is needed,
// "id" is ignored (imported bottles get new ids), an empty purity is 100 and
// an empty excess 0. False, with the line and the value in `error`, for an
// unknown column, a missing formula or a correction out of range.
bool parseBottlesCsv(std::string_view text, std::vector<Bottle>& bottles, std::string& error);

}  // namespace qv::store
