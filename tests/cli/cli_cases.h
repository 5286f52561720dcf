#pragma once
// Table-driven runs of quorvex-cli, one program per case.

#include <gtest/gtest.h>

#include "support/run_program.h"

namespace qv::test {

using Args = std::vector<std::string>;

// The arguments, the exit status, what stderr holds and what stdout starts
// with (empty: stays empty).
struct CliCase {
    Args args;
    int exitCode;
    std::string err, out = "";
};

// Runs every case with `before` in front of its arguments.
inline void expectCliCases(const Args& before, const std::vector<CliCase>& cases) {
    for (const CliCase& c : cases) {
        Args args = before;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProgramResult run = runCli(args);
        const std::string what = (c.args.empty() ? "" : c.args.back()) + " " + c.err + ": ";
        EXPECT_EQ(run.exitCode, c.exitCode) << what << run.err;
        EXPECT_EQ(run.out.substr(0, c.out.empty() ? std::string::npos : c.out.size()), c.out) << what;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << what << run.err;
    }
}

}  // namespace qv::test
