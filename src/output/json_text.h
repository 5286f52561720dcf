#pragma once
// JSON as Quorvex writes it, for the command line and the window's exports:
// keys in insertion order and every number in the shortest text that reads
// back exactly. Strings that are not UTF-8 get replacement characters rather
// than stopping the output; numbers that are not finite print as null.

#include <nlohmann/json.hpp>
#include <string>

namespace qv {

// Two-space indents, then a final newline.
std::string jsonText(const nlohmann::ordered_json& doc);
// One compact line and its newline, for JSON Lines streams.
std::string jsonLine(const nlohmann::ordered_json& doc);

}  // namespace qv
