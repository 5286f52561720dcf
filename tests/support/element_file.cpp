#include "support/element_file.h"

#include <stdlib.h>
#include <fstream>
#include <system_error>

namespace qv::test {

TempDir::TempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "qv-test-XXXXXX").string();
    if (mkdtemp(name.data())) path_ = name;  // on failure the tests fail on their files
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name, std::string_view content) const {
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return file.string();
}

int loadElementText(ElementTable& table, std::string_view content) {
    TempDir dir;
    return table.loadElementTable(dir.write("ATOMS.LST", content));
}

}  // namespace qv::test
