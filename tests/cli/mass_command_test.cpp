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

TEST(CliMass, HydratesTheDecimalTrapAndAmountsPastTheLargestDouble) {
    const auto r = runCli({"mass",
                           "CuSO4\xC2\xB7"
                           "5H2O",
                           "CuSO4.5H2O", "Ba0.5Sr0.5TiO3", "H1e308H1e308", "H1e200(O1e200)1e200", "Ba1e308",
                           "H1e300", "Ba1e305"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.substr(0, r.out.find("H1e300")),
              "CuSO4\xC2\xB7"
              "5H2O\tH10O9SCu\t249.677\nCuSO4.5H2O\tH2O5.5SCu\t185.6165\n"
              "Ba0.5Sr0.5TiO3\tO3TiSr0.5Ba0.5\t208.339\nH1e308H1e308\tinvalid\t-2\n"
              "H1e200(O1e200)1e200\tinvalid\t-2\nBa1e308\tinvalid\t-2\n");
    EXPECT_EQ(r.out.find("invalid", r.out.find("H1e300")), std::string::npos)
        << "large finite ones stay valid";
    EXPECT_EQ(r.err,
              "quorvex-cli mass: CuSO4.5H2O is read as CuSO4.5 + H2O: \"4.5\" is one decimal count. For the "
              "hydrate write CuSO4\xC2\xB7"
              "5H2O (or CuSO4*5H2O).\n");
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
