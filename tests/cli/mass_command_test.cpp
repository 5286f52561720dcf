#include <gtest/gtest.h>

#include <string>

#include "support/element_file.h"
#include "support/run_program.h"

namespace qv {
namespace {

using test::runCli;

TEST(CliMass, ShippedElementFileBesideTheProgramOrTheOneGiven) {
    auto r = runCli({"mass", "H2O", "Ca(OH)2", "CaCO3", "ZnO"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "H2O\tH2O\t18.015\nCa(OH)2\tH2O2Ca\t74.092\nCaCO3\tCO3Ca\t100.086\nZnO\tOZn\t81.379\n");
    EXPECT_EQ(r.err, "");
    test::TempDir dir;
    r = runCli({"mass", "--atoms", dir.write("small.lst", test::kSmallElementFile), "BaTiO3", "Fe2O3", "co",
                "Ba(", "H0", "Ba0.5"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "BaTiO3\tO3TiBa\t233.2\nFe2O3\tO3Fe2\t159.7\nco\tinvalid\t-2\n"
              "Ba(\tinvalid\t-1\nH0\t\t0\nBa0.5\tBa0.5\t68.665\n");
}

TEST(CliMass, ElementFileFailuresAndUsage) {
    test::TempDir dir;
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"mass", "--atoms", dir.write("a.lst", "no elements here\n"), "H2O"},
         2,
         "Couldn't load data from ATOMS.LST."},
        {{"mass", "--atoms", dir.write("b.lst", "1 Abcd 3\n"), "H2O"},
         2,
         "Couldn't load data from ATOMS.LST."},
        {{"mass", "--atoms", (dir.path() / "none").string(), "H"}, 2, "-1"},
        {{"frobnicate"}, 64, "frobnicate"},
        {{}, 64, "usage"},
        {{"mass"}, 64, "usage"},
        {{"mass", "--atoms"}, 64, "--atoms needs a file name"},
    };
    for (const auto& c : cases) {
        const auto r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.says;
        EXPECT_EQ(r.out, "") << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    const auto help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("mass"), std::string::npos);
}

}  // namespace
}  // namespace qv
