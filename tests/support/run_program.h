#pragma once
// Runs a program to completion and collects what it wrote and how it ended.

#include <string>
#include <vector>

namespace qv::test {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args);

// Runs quorvex-cli from the build's binary folder.
ProgramResult runCli(const std::vector<std::string>& args);

}  // namespace qv::test
