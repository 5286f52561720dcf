#pragma once
// What the weighing, report and recipe tests share: the four elements of the
// barium titanate example, its report, and reading a file back byte for byte.

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace qv::test {

// Ba 137.33, Ti 47.87, C 12.01 (non-metal), O 16 (non-metal), in that order.
inline constexpr std::string_view kBaTiCOElementFile =
    "Test elements\n1 Ba 137.33\n2 Ti 47.87\n3 C 12.01 m\n4 O 16 m\n";

// 10 g of BaTiO3 from free BaCO3 and TiO2, with the residual shown.
inline constexpr std::string_view kBariumTitanateReport =
    "ID: S1\nBaTiO3  (10 grams)  + CO2\n"
    "=====================================================\n"
    "Reactant  (Molar Mass)              Amount Weighed(g)\n"
    "-----------------------------------------------------\n"
    "BaCO3  (197.34)                      8.462264\n"
    "TiO2  (79.87)                        3.424957\n"
    "-----------------------------------------------------\n\n\n";

inline std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qv::test
