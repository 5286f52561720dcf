#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli_cases.h"

namespace qv {

using Json = nlohmann::json;

// Whole-number weights, so every amount below follows by hand:
// M(BaCO3) = 197, M(SrCO3) = 148, M(TiO2) = 80, M(Ba(1-x)Sr(x)TiO3) = 233 - 49x.
constexpr std::string_view kElements = "1 C 12 m\n2 O 16 m\n3 Ti 48\n4 Sr 88\n5 Ba 137\n";
const std::string kBst = "Ba{1-x}Sr{x}TiO3";

TEST(Series, HandValuesJsonLinesCsvAndTheExitStatusNamingWhatIsWrong) {
    test::TempDir dir;
    const std::string atoms = dir.write("atoms.lst", kElements),
                      recipe = dir.write(
                          "bst.qvs",
                          "-1 BST\r\n0 10 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 SrCO3\r\n3 0 0 TiO2\r\n");
    const auto series = [&](test::Args rest, int exitCode = 0) {
        rest.insert(rest.begin(), {"series", "--atoms", atoms, recipe});
        auto run = test::runCli(rest);
        EXPECT_EQ(run.exitCode, exitCode) << rest[4] << " " << run.err;
        return run;
    };
    const char* formulas[] = {"Ba1TiO3",        "Ba0.9Sr0.1TiO3", "Ba0.8Sr0.2TiO3",
                              "Ba0.7Sr0.3TiO3", "Ba0.6Sr0.4TiO3", "Ba0.5Sr0.5TiO3"};
    auto json = Json::parse(series({"--final", kBst, "--vary", "x=0:0.5:0.1", "--format", "json"}).out);
    ASSERT_EQ(json.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        // Grams of BaCO3, SrCO3 and TiO2 for 10 g of Ba(1-x)Sr(x)TiO3.
        const double x = i / 10.0, ratios[] = {1 - x, x, 1}, moles = 10 / (233 - 49 * x),
                     grams[] = {moles * (1 - x) * 197, moles * x * 148, moles * 80};
        const auto& sample = json[i];
        EXPECT_EQ(sample["x"], x) << "each value reads back as typed";
        EXPECT_EQ(sample["final_formula"], formulas[i]) << "a zero count drops its element";
        EXPECT_NEAR(sample["molar_mass"].get<double>(), 233 - 49 * x, 1e-12);
        EXPECT_EQ(sample["balance_residual"], "CO2");
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(sample["rows"][k]["grams"].get<double>(), grams[k], 1e-12) << formulas[i] << k;
            EXPECT_EQ(sample["rows"][k].size(), 6u) << "no correction, no correction fields";
            EXPECT_NEAR(sample["rows"][k]["ratio"].get<double>(), ratios[k], 1e-12);
        }
    }
    // The table for the balance: one line per sample, grams lined up by their points.
    EXPECT_NE(series({"--final", kBst, "--vary", "x=0:0.5:0.1", "--grams", "2"})
                  .out.find("0.3  Ba0.7Sr0.3TiO3  1.263399  0.406780  0.732936  ok\n"),
              std::string::npos);
    test::Args args{"--final", kBst, "--vary", "x=0:1.5:0.5", "--purity", "SrCO3=99.5", "--format", "json"};
    const auto array = Json::parse(series(args, 3).out);
    args.back() = "jsonl";
    const std::string out = series(args, 3).out;
    std::istringstream lines(out);
    std::size_t n = 0;
    for (std::string line; std::getline(lines, line); ++n) EXPECT_EQ(Json::parse(line), array.at(n));
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(out.find(".0,"), std::string::npos) << out;  // numbers in their shortest text, as in json
    EXPECT_EQ(array[3]["status"], "The count {1-x} is negative (-0.5).");
    EXPECT_TRUE(array[3]["rows"][0]["grams"].is_null());
    EXPECT_TRUE(array[3]["rows"][1]["grams_corrected"].is_null());
    // Once one row has a correction, every row carries the correction fields.
    const auto& rows = array[1]["rows"];
    EXPECT_EQ(rows[1]["purity_pct"], 99.5);
    EXPECT_EQ(rows[1]["grams_corrected"].get<double>(), rows[1]["grams"].get<double>() / 0.995);
    EXPECT_EQ(Json::array({rows[0]["purity_pct"], rows[0]["excess_pct"]}), Json::array({100, 0}));
    EXPECT_EQ(rows[0]["grams_corrected"], rows[0]["grams"]);
    const std::string csv = "x,final_formula,status,BaCO3,SrCO3,TiO2\r\n", bst = "x=0.5:0.5:0";
    // clang-format off
    test::expectCliCases({"series", "--atoms", atoms, recipe}, {
        // A zero count drops its group.
        {{"--final", "(BaTiO3){1-x}(SrTiO3){x}", "--vary", "x=0:1:1", "--format", "csv"}, 0, "",
         csv + "0,(BaTiO3)1,ok,8.454935622317597,0,3.4334763948497855\r\n"
               "1,(SrTiO3)1,ok,0,8.043478260869565,4.3478260869565215\r\n"},
        // One sample fails, not the series; the expression's commas make its status a quoted field.
        {{"--final", "Ba{min(1, 1-x)}Sr{x}TiO3", "--vary", "x=0.8:1.2:0.2", "--format", "csv"}, 3, "",
         csv + "0.8,Ba0.2Sr0.8TiO3,ok,2.0330237358101138,6.109391124871001,4.127966976264189\r\n"
               "1,Sr1TiO3,ok,0,8.043478260869565,4.3478260869565215\r\n"
               "1.2,Ba-0.2Sr1.2TiO3,\"The count {min(1, 1-x)} is negative (-0.2).\",,,\r\n"},
        // 3.549160671462830 g of pure SrCO3 / 0.995.
        {{"--final", kBst, "--vary", bst, "--purity", "SrCO3=99.5", "--format", "csv"}, 0, "",
         csv + "0.5,Ba0.5Sr0.5TiO3,ok,4.724220623501199,3.566995649711387,3.8369304556354917\r\n"},
        // A purity that makes the corrected grams overflow refuses the sample, naming the row.
        {{"--final", kBst, "--vary", bst, "--purity", "SrCO3=1e-310", "--format", "csv"}, 3, "",
         csv + "0.5,Ba0.5Sr0.5TiO3,The corrected grams of SrCO3 (row 2) are too large to weigh.,,,\r\n"},
        {{"--final", kBst, "--vary", "x=0:0.5:0.1", "--purity", "BaCO3=100"}, 0, "", "ID: BST\n"},
        {{"--final", "Ba{1-x}Xx{x}TiO3", "--vary", "x=0:1:1"}, 3, "", "ID: BST\n"},
        {{"--vary", "x=0:1:1"}, 64, "--final TEMPLATE is missing"},
        {{"--final", kBst}, 64, "--vary NAME=FROM:TO:STEP is missing"},
        {{"--final", "Ba{1-y}TiO3", "--vary", "x=0:1:1"}, 64, "\"y\""},
        {{"--final", "{x}BaTiO3", "--vary", "x=0:1:1"}, 64, "follows neither an element symbol nor"},
        {{"--final", kBst, "--vary", "x=0:1"}, 64, "FROM:TO:STEP"},
        {{"--final", kBst, "--vary", "x=0:1:-0.5"}, 64, "does not lead from 0 to 1"},
        {{"--final", kBst, "--vary", "x=0:1:1e-9"}, 64, "more than 1000000 values"},
        {{"--final", kBst, "--vary", "status=0:1:1"}, 64, "names an output field"},
        {{"--final", kBst, "--vary", "x=0:1:1", "--purity", "BaCO3=0"}, 64, "above 0 and at most 100"},
        {{"--final", kBst, "--vary", "x=0:1:1", "--purity", "BaO=99"}, 64, "BaO: no source row"},
        {{"--final", kBst, "--vary", "x=0:1:1", "--grams", "none"}, 64, "Specify correct weight"},
        {{"--final", kBst, "--vary", "x=0:1:1", "--format", "xml"}, 64, "text, csv or json"},
        {{"--final", kBst, "--vary", "x=0:1:1", "other.qvs"}, 64, "one recipe only"},
    });
    // clang-format on
    const auto missing =
        test::runCli({"series", "--atoms", atoms, dir.write("bad.qvs", "0 1 1 BaTiO3\n31 0 1 TiO2\n"),
                      "--final", kBst, "--vary", "x=0:1:1"});
    EXPECT_EQ(std::pair(missing.exitCode, missing.err),
              std::pair(1, std::string("Failed to load a file.\n")));
}

}  // namespace qv
