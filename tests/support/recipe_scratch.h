#pragma once
// A scratch folder for file tests and a form over a small element table:
// Ba 137.33, Ti 47.87, C 12.01 (non-metal), O 16 (non-metal), in that order.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "core/model.h"
#include "solver/memory_views.h"

namespace qvtest {

inline constexpr std::string_view kBaTiCOAtoms =
    "Test elements\n"
    "1 Ba 137.33\n"
    "2 Ti 47.87\n"
    "3 C 12.01 m\n"
    "4 O 16 m\n";

class ScratchDir {
public:
    ScratchDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("qv-scratch-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string p = file(name);
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path path_;
};

// A model with an in-memory form over an element table written by the test.
struct ScratchForm {
    explicit ScratchForm(std::string_view atoms = kBaTiCOAtoms) {
        const std::string p = dir.write("ATOMS.LST", atoms);
        model.elementTable.loadElementTable(p);
        model.clearAll();
    }
    ScratchDir dir;
    qv::Model model;
    qv::MemoryElementList include;
    qv::MemoryElementList exclude;
    qv::MemoryFormView form{model, include, exclude};
};

}  // namespace qvtest
