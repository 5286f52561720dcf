#pragma once
// Small element files written into a fresh temporary folder per test.

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "core/element_table.h"

namespace qv::test {

class TempDir {
public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "qv-test-XXXXXX").string();
        if (mkdtemp(name.data())) path_ = name;  // on failure the tests fail on their files
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `content` byte for byte to `name` inside the folder; returns its path.
    std::string write(const std::string& name, std::string_view content) const {
        std::ofstream(path_ / name, std::ios::binary).write(content.data(), std::streamsize(content.size()));
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

// H, C, O, Ca, Ti, Ba, Fe (in that order; H, C and O marked non-metal) with
// round test weights, enough for most formulas the tests use.
inline constexpr std::string_view kSmallElementFile =
    "# test elements\n1 H 1.008 m\n2 C 12.01 m\n3 O 16 m\n4 Ca 40.08\n5 Ti 47.87\n6 Ba 137.33\n7 Fe 55.85\n";

// Loads `content` into `table` through a temporary file; returns the load code.
inline int loadElementText(ElementTable& table, std::string_view content) {
    return table.loadElementTable(TempDir().write("ATOMS.LST", content));
}

}  // namespace qv::test
