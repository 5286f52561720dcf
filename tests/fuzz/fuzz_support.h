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
[[noreturn]] inline void fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}
#define QV_FUZZ_CHECK(cond) ((cond) ? void() : ::qv::fuzz::fail(__FILE__, __LINE__, #cond))

// A per-process scratch file, removed when the process ends normally, so
// parallel fuzzing jobs do not share one. It is rewritten for every input:
// memory-backed /dev/shm is ten times faster than a disk-backed /tmp.
inline std::string scratchPath(const char* tag) {
    const char* env = std::getenv("TMPDIR");
    const std::string dir = env && *env ? env : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return dir + "/qv-fuzz-" + tag + "-" + std::to_string(::getpid());
}
struct ScratchFile {
    std::string path;
    explicit ScratchFile(const char* tag) : path(scratchPath(tag)) {}
    ~ScratchFile() { std::remove(path.c_str()); }
};

inline bool writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return f && std::fclose(f) == 0 && ok;
}

// The shipped element file, copied beside every executable by the build;
// loaded once per process.
inline const ElementTable& shippedElements() {
    static const ElementTable table = [] {
        ElementTable t;
        QV_FUZZ_CHECK(t.loadElementTable(QV_BIN_DIR "/ATOMS.LST") > 0);
        return t;
    }();
    return table;
}

}  // namespace qv::fuzz
