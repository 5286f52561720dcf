#pragma once
// JSON as the verbs print it: two-space indents, keys in insertion order, and
// every number in the shortest text that reads back exactly.

#include <nlohmann/json.hpp>
#include <string>

namespace qv::cli {

// The document and a final newline. Strings that are not UTF-8 (sample tags of
// any code page) get replacement characters rather than stopping the output;
// numbers that are not finite print as null.
std::string jsonText(const nlohmann::ordered_json& doc);

}  // namespace qv::cli
