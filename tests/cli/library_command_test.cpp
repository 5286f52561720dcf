#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli_cases.h"
#include "support/element_file.h"
#include "support/recipe_scratch.h"

namespace qv {
namespace {

using test::Args;

class CliLibrary : public ::testing::Test {
protected:
    test::ProgramResult library(Args rest) {
        rest.insert(rest.begin(), {"library", "--db", db, "--atoms", atoms});
        return test::runCli(rest);
    }
    test::TempDir dir;
    std::string atoms = dir.write("atoms.lst", test::kBaTiCOElementFile);
    std::string db = (dir.path() / "lab.sqlite").string();
};

TEST_F(CliLibrary, AddImportListExportAndRemove) {
    EXPECT_EQ(library({"add", "BaCO3", "--purity=99.5", "--excess", "5", "--label", "carbonate, fine"}).out,
              "1\n");
    const std::string csv = dir.write("in.csv", "formula,supplier,lot\nTiO2,\"Acme \"\"A\"\", Inc.\",T-1\n");
    EXPECT_EQ(library({"import", csv}).exitCode, 0);

    EXPECT_EQ(library({"list"}).out,
              "ID  Formula  Purity(%)  Excess(%)  Lot  Supplier        Label\n"
              "1   BaCO3    99.5       5                               carbonate, fine\n"
              "2   TiO2     100        0          T-1  Acme \"A\", Inc.\n");
    const auto json = nlohmann::json::parse(library({"list", "--format", "json"}).out);
    EXPECT_EQ(json[1], nlohmann::json::parse(R"({"id": 2, "formula": "TiO2", "label": "", "supplier":
        "Acme \"A\", Inc.", "lot": "T-1", "purity_pct": 100, "excess_pct": 0})"));
    const std::string out = (dir.path() / "out.csv").string();
    ASSERT_EQ(library({"export", out}).exitCode, 0);  // the same as listed, header checked below
    EXPECT_EQ(test::readFileBytes(out), library({"list", "--format=csv"}).out);
    EXPECT_EQ(library({"remove", "1"}).exitCode, 0);
    EXPECT_EQ(library({"list", "--format", "csv"}).out.find("BaCO3"), std::string::npos);
}

TEST_F(CliLibrary, BadValuesExit64AndAnUnopenableDatabase1) {
    const std::string bad = dir.write("bad.csv", "formula,purity_pct\nTiO2,99\nQq,99\n");
    test::expectCliCases({"library", "--db", db, "--atoms", atoms},
                         {
                             {{"add", "TiO2", "--purity", "0"}, 64, "purity 0 %"},
                             {{"add", "TiO2", "--purity", "101"}, 64, "purity 101 %"},
                             {{"add", "TiO2", "--excess", "-2"}, 64, "excess -2 %"},
                             {{"add", "TiO2", "--excess", "five"}, 64, "not \"five\""},
                             {{"add", "Qq2"}, 64, "\"Qq2\" is not a formula"},
                             {{"import", bad}, 64, "bad.csv line 3: \"Qq\""},
                             {{"remove", "7"}, 64, "no bottle 7"},
                             {{"list", "--format", "xml"}, 64, "text, csv or json"},
                             {{"polish"}, 64, "unknown action \"polish\""},
                         });
    EXPECT_EQ(library({"list", "--format", "csv"}).out,
              "id,formula,label,supplier,lot,purity_pct,excess_pct\r\n");

    dir.write("junk.sqlite", std::string(4096, 'j'));
    for (const std::string& path :
         {(dir.path() / "junk.sqlite").string(), (dir.path() / "no/lab.sqlite").string()}) {
        const auto run = test::runCli({"library", "--db", path, "list"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(path + ": "), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace qv
