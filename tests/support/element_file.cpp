#include "support/element_file.h"

#include <fstream>
#include <random>
#include <system_error>

namespace qv::test {

TempDir::TempDir() {
    namespace fs = std::filesystem;
    std::random_device rd;
    for (;;) {
        path_ = fs::temp_directory_path() / ("qv-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(path_, ec)) break;
    }
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
