#pragma once
// What the weighing, report and recipe tests share: the four elements of the
// barium titanate examples, and reading a file back byte for byte.

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace qv::test {

// Ba 137.33, Ti 47.87, C 12.01 (non-metal), O 16 (non-metal), in that order.
inline constexpr std::string_view kBaTiCOElementFile =
    "Test elements\n"
    "1 Ba 137.33\n"
    "2 Ti 47.87\n"
    "3 C 12.01 m\n"
    "4 O 16 m\n";

inline std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qv::test
