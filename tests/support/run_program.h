#pragma once
// Runs quorvex-cli from the build's binary folder and collects what it wrote.

#include <sys/wait.h>

#include <vector>

#include "support/element_file.h"
#include "support/recipe_scratch.h"

namespace qv::test {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// The argument in single quotes for /bin/sh.
inline std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline ProgramResult runCli(const std::vector<std::string>& args) {
    // Output goes through files so neither stream can block the child.
    TempDir dir;
    const std::string out = (dir.path() / "out").string(), err = (dir.path() / "err").string();
    std::string command = shellQuoted(QV_BIN_DIR "/quorvex-cli");
    for (const auto& arg : args) command += " " + shellQuoted(arg);
    const int raw = std::system((command + " >" + shellQuoted(out) + " 2>" + shellQuoted(err)).c_str());
    return {raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFileBytes(out), readFileBytes(err)};
}

}  // namespace qv::test
