#include <gtest/gtest.h>

#include "support/element_file.h"
#include "support/run_program.h"

namespace qv {
namespace {

TEST(CliWriter, RefusedCommandLines) {
    test::TempDir dir;
    const std::string recipe = dir.write("bt.qvs", "0 10 1 BaTiO3\n1 0 0 BaCO3\n2 0 0 TiO2\n");
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"report", "--writer"}, "--writer needs a file"},
        {{"report", "--json", "--writer", "x.odt", recipe}, "--json and --writer exclude each other"},
        {{"report", "--writer=x.odt"}, "no recipe file given"},
    };
    for (const auto& c : cases) {
        const auto run = test::runCli(c.args);
        EXPECT_EQ(run.exitCode, 64) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace qv
