#include <gtest/gtest.h>

#include <string>

#include "support/element_file.h"
#include "support/run_program.h"

namespace qv {
namespace {

using test::runCli;

TEST(CliMass, ShippedElementFileBesideTheProgram) {
    const auto r = runCli({"mass", "H2O", "Ca(OH)2", "CaCO3"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "H2O\tH2O\t18.015\n"
              "Ca(OH)2\tH2O2Ca\t74.092\n"
              "CaCO3\tCO3Ca\t100.086\n");
    EXPECT_EQ(r.err, "");
}

TEST(CliMass, AtomsOptionAndInvalidFormulas) {
    test::TempDir dir;
    const std::string atoms = dir.write("small.lst", test::kSmallElementFile);
    const auto r = runCli({"mass", "--atoms", atoms, "BaTiO3", "Fe2O3", "co", "Ba(", "H0", "Ba0.5"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "BaTiO3\tO3TiBa\t233.2\n"
              "Fe2O3\tO3Fe2\t159.7\n"
              "co\tinvalid\t-2\n"
              "Ba(\tinvalid\t-1\n"
              "H0\t\t0\n"
              "Ba0.5\tBa0.5\t68.665\n");
}

TEST(CliMass, ElementFileFailures) {
    test::TempDir dir;
    for (const std::string& content : {std::string("no elements here\n"), std::string("1 Abcd 3\n")}) {
        const auto r = runCli({"mass", "--atoms", dir.write("bad.lst", content), "H2O"});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Couldn't load data from ATOMS.LST."), std::string::npos) << r.err;
    }
    const auto missing = runCli({"mass", "--atoms", (dir.path() / "none").string(), "H"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("-1"), std::string::npos) << missing.err;
}

TEST(CliUsage, HelpUnknownVerbAndMissingArguments) {
    const auto help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("mass"), std::string::npos);
    EXPECT_EQ(runCli({}).exitCode, 64);
    const auto unknown = runCli({"frobnicate"});
    EXPECT_EQ(unknown.exitCode, 64);
    EXPECT_NE(unknown.err.find("frobnicate"), std::string::npos);
    EXPECT_EQ(runCli({"mass"}).exitCode, 64);
    EXPECT_EQ(runCli({"mass", "--atoms"}).exitCode, 64);
}

}  // namespace
}  // namespace qv
