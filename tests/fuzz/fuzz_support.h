#pragma once
// Small helpers shared by the fuzz harnesses.

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/element_table.h"

// Each input builds a whole form (about a megabyte of entries); with the
// default 256 MB quarantine every build touches fresh pages and the harnesses
// run five times slower. 16 MB still holds everything one input frees.
// (Each harness is one translation unit, so this is defined once.)
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

namespace qv::fuzz {

// A harness stops the run loudly; libFuzzer records the input that got here.
#define QV_FUZZ_CHECK(cond)                                                               \
    do {                                                                                  \
        if (!(cond)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

// A per-process scratch file, so parallel fuzzing jobs do not share one. It
// is rewritten for every input: memory-backed /dev/shm is ten times faster
// than a disk-backed /tmp.
inline const std::string& scratchPath(const char* tag) {
    static const std::string path = [tag] {
        const char* env = std::getenv("TMPDIR");
        std::string dir = env && *env ? env : "/tmp";
        if (!env && ::access("/dev/shm", W_OK) == 0) dir = "/dev/shm";
        return dir + "/qv-fuzz-" + tag + "-" + std::to_string(::getpid());
    }();
    return path;
}

// Removes the scratch file when the process ends normally.
struct ScratchFile {
    explicit ScratchFile(const std::string& path) : path(path) {}
    ~ScratchFile() { std::remove(path.c_str()); }
    std::string path;
};

inline bool writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The shipped element file, copied beside every executable by the build;
// loaded once per process.
inline const ElementTable& shippedElements() {
    static const ElementTable table = [] {
        ElementTable t;
        const int n = t.loadElementTable(std::string(QV_BIN_DIR) + "/ATOMS.LST");
        if (n <= 0) {
            std::fprintf(stderr, "cannot load %s/ATOMS.LST (%d)\n", QV_BIN_DIR, n);
            std::abort();
        }
        return t;
    }();
    return table;
}

}  // namespace qv::fuzz
