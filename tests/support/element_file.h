#pragma once
// Small element files written into a fresh temporary folder per test.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/element_table.h"

namespace qv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `content` byte for byte to `name` inside the folder; returns its path.
    std::string write(const std::string& name, std::string_view content) const;

private:
    std::filesystem::path path_;
};

// H, C, O, Ca, Ti, Ba, Fe (in that order; H, C and O marked non-metal) with
// round test weights, enough for most formulas the tests use.
inline constexpr std::string_view kSmallElementFile =
    "# test elements\n"
    "1 H 1.008 m\n"
    "2 C 12.01 m\n"
    "3 O 16 m\n"
    "4 Ca 40.08\n"
    "5 Ti 47.87\n"
    "6 Ba 137.33\n"
    "7 Fe 55.85\n";

// Loads `content` into `table` through a temporary file; returns the load code.
int loadElementText(ElementTable& table, std::string_view content);

}  // namespace qv::test
