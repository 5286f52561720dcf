#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/wait.h>

#include "support/element_file.h"
#include "support/recipe_scratch.h"

namespace {

constexpr std::string_view kRecipe =
    "-2 1100\r\n"
    "-1 S1\r\n"
    "0 10.00000 1.00000 BaTiO3\r\n"
    "1 0 0.00000 BaCO3\r\n"
    "2 0 0.00000 TiO2\r\n";

constexpr std::string_view kReport =
    "ID: S1\n"
    "BaTiO3  (10 grams)  + CO2\n"
    "=====================================================\n"
    "Reactant  (Molar Mass)              Amount Weighed(g)\n"
    "-----------------------------------------------------\n"
    "BaCO3  (197.34)                      8.462264\n"
    "TiO2  (79.87)                        3.424957\n"
    "-----------------------------------------------------\n"
    "\n"
    "\n";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliRecipes : public ::testing::Test {
protected:
    void SetUp() override {
        atoms = dir.write("atoms.lst", qv::test::kBaTiCOElementFile);
        recipe = dir.write("bt.qvs", kRecipe);
    }
    CliRun cli(const std::string& args) {
        const std::string base = dir.path().string() + "/run";
        const std::string command = std::string("'") + QV_BIN_DIR "/quorvex-cli' " + args + " >'" +
                                    base + ".out' 2>'" + base + ".err'";
        const int raw = std::system(command.c_str());
        CliRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = qv::test::readFileBytes(base + ".out");
        run.err = qv::test::readFileBytes(base + ".err");
        return run;
    }
    std::string withAtoms(const std::string& args) { return "--atoms '" + atoms + "' " + args; }

    qv::test::TempDir dir;
    std::string atoms;
    std::string recipe;
};

TEST_F(CliRecipes, ReportPrintsTheBariumTitanateExample) {
    const CliRun run = cli("report " + withAtoms("'" + recipe + "'"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kReport);
    EXPECT_EQ(run.err, "Quorvex could obtain an answer for you.\n");
}

TEST_F(CliRecipes, ReportGramsAndDifferenceOptions) {
    CliRun run = cli("report --no-difference --grams 2.5g " + withAtoms("'" + recipe + "'"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, 29), "ID: S1\nBaTiO3  (2.5 grams)\n==");

    run = cli("report --grams abc " + withAtoms("'" + recipe + "'"));
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Specify correct weight of the final product in gram.\n"), std::string::npos);

    run = cli("report --grams=1e-9 " + withAtoms("'" + recipe + "'"));
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("Specify non-zero weight of the final product.\n"), std::string::npos);

    // The recipe's own grams go through the same check.
    const std::string zero = dir.write("zero.qvs", "0 0 1 BaTiO3\n1 1 1 BaO\n");
    EXPECT_EQ(cli("report " + withAtoms("'" + zero + "'")).status, 4);
}

TEST_F(CliRecipes, ReportExitStatusForEachFailure) {
    const std::string unsolvable = dir.write("u.qvs", "0 1 1 BaTiO3\n1 0 1 TiO2\n");
    CliRun run = cli("report " + withAtoms("'" + unsolvable + "'"));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");

    const std::string broken = dir.write("b.qvs", "0 1 1 BaTiO3\n31 0 1 TiO2\n");
    run = cli("report " + withAtoms("'" + broken + "'"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Failed to load a file.\n");

    run = cli("report --atoms '" + dir.path().string() + "/none.lst' '" + recipe + "'");
    EXPECT_EQ(run.status, 2);

    // Every recipe gets its turn; the first one without a report sets the status.
    run = cli("report " + withAtoms("'" + broken + "' '" + recipe + "'"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, kReport);
    EXPECT_EQ(cli("report " + withAtoms("")).status, 64);
}

TEST_F(CliRecipes, ReportAsJson) {
    const CliRun run = cli("report --json " + withAtoms("'" + recipe + "'"));
    ASSERT_EQ(run.status, 0);
    const auto doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["sample_tag"], "S1");
    EXPECT_EQ(doc["final_formula"], "BaTiO3");
    EXPECT_EQ(doc["grams"], 10.0);
    EXPECT_NEAR(doc["molar_mass"].get<double>(), 233.2, 1e-9);
    EXPECT_EQ(doc["status"], "Quorvex could obtain an answer for you.");
    ASSERT_EQ(doc["rows"].size(), 2u);
    EXPECT_EQ(doc["rows"][1], nlohmann::json::parse(R"({"row": 2, "formula": "TiO2", "fixed": false,
        "ratio": 1.0, "molar_mass": 79.87, "grams": 3.424957118353345})"));
    EXPECT_EQ(doc["balance_residual"], "CO2");
}

TEST_F(CliRecipes, SolveSavesTheSolvedRatiosInPlace) {
    const CliRun run = cli("solve " + withAtoms("'" + recipe + "' -o '" + recipe + "'"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(qv::test::readFileBytes(recipe),
              "-2 1100\r\n-1 S1\r\n0 10.00000 1.00000 BaTiO3\r\n"
              "1 0 1.00000 BaCO3\r\n2 0 1.00000 TiO2\r\n");

    const std::string out = dir.path().string() + "/o.qvs";
    EXPECT_EQ(cli("solve " + withAtoms("'" + dir.path().string() + "/x.qvs' -o '" + out + "'")).status, 1);
    EXPECT_EQ(cli("solve " + withAtoms("'" + recipe + "' -o '" + dir.path().string() + "'")).status, 4);
}

}  // namespace
