#pragma once
// Runs quorvex-cli from the build's binary folder and collects what it wrote.

#include <string>
#include <vector>

namespace qv::test {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProgramResult runCli(const std::vector<std::string>& args);

// The argument in single quotes for /bin/sh.
std::string shellQuoted(const std::string& arg);

}  // namespace qv::test
