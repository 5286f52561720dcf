#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/element_file.h"
#include "support/run_program.h"
#include "version.h"

namespace qv {
namespace {

using Args = std::vector<std::string>;
using Records = std::vector<std::vector<std::string>>;

// Whole-number weights, so every amount below follows by hand:
// M(BaCO3) = 197, M(SrCO3) = 148, M(TiO2) = 80, M(Ba(1-x)Sr(x)TiO3) = 233 - 49x.
constexpr std::string_view kElements = "1 C 12 m\n2 O 16 m\n3 Ti 48\n4 Sr 88\n5 Ba 137\n";
const std::string kBst = "Ba{1-x}Sr{x}TiO3";

// Grams of BaCO3, SrCO3 and TiO2 for `g` grams of Ba(1-x)Sr(x)TiO3.
std::vector<double> handGrams(double x, double g) {
    const double moles = g / (233 - 49 * x);
    return {moles * (1 - x) * 197, moles * x * 148, moles * 80};
}

// Records ending in CR LF, split at every comma (quoted fields are checked on the raw text).
Records readCsv(const std::string& text) {
    Records records;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::istringstream line(text.substr(at, end - at) + ",");
        records.emplace_back();
        for (std::string field; std::getline(line, field, ',');) records.back().push_back(field);
    }
    EXPECT_EQ(at, text.size()) << "unterminated last record";
    return records;
}

class Series : public ::testing::Test {
protected:
    test::ProgramResult series(Args rest, int exitCode = 0) {
        rest.insert(rest.begin(), {"series", "--atoms", atoms, recipe});
        auto run = test::runCli(rest);
        EXPECT_EQ(run.exitCode, exitCode) << rest[4] << " " << run.err;
        return run;
    }
    Records csv(Args rest, int exitCode = 0) {
        rest.insert(rest.end(), {"--format", "csv"});
        return readCsv(series(rest, exitCode).out);
    }

    test::TempDir dir;
    std::string atoms = dir.write("atoms.lst", kElements);
    std::string recipe =
        dir.write("bst.qvs", "-1 BST\r\n0 10 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 SrCO3\r\n3 0 0 TiO2\r\n");
};

TEST_F(Series, BariumStrontiumTitanateMatchesTheHandValues) {
    const Records records = csv({"--final", kBst, "--vary", "x=0:0.5:0.1"});
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[0],
              (std::vector<std::string>{"x", "final_formula", "status", "BaCO3", "SrCO3", "TiO2"}));
    const char* formulas[] = {"Ba1TiO3",        "Ba0.9Sr0.1TiO3", "Ba0.8Sr0.2TiO3",
                              "Ba0.7Sr0.3TiO3", "Ba0.6Sr0.4TiO3", "Ba0.5Sr0.5TiO3"};
    auto json =
        nlohmann::json::parse(series({"--final", kBst, "--vary", "x=0:0.5:0.1", "--format", "json"}).out);
    ASSERT_EQ(json.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const double x = i / 10.0, ratios[] = {1 - x, x, 1};
        const auto& r = records[i + 1];
        const auto& sample = json[i];
        ASSERT_EQ(r.size(), 6u);
        EXPECT_EQ(std::stod(r[0]), x) << "each value reads back as typed: " << r[0];
        EXPECT_EQ(r[1], formulas[i]) << "a zero count drops its element";
        EXPECT_EQ(r[2], "ok");
        EXPECT_EQ(sample["x"], std::stod(r[0]));
        EXPECT_EQ(sample["final_formula"], r[1]);
        EXPECT_NEAR(sample["molar_mass"].get<double>(), 233 - 49 * x, 1e-12);
        EXPECT_EQ(sample["balance_residual"], "CO2");
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(std::stod(r[3 + k]), handGrams(x, 10)[k], 1e-12) << formulas[i] << " column " << k;
            EXPECT_EQ(sample["rows"][k]["grams"].get<double>(), std::stod(r[3 + k]));
            EXPECT_EQ(sample["rows"][k].size(), 6u) << "no correction, no correction fields";
            EXPECT_NEAR(sample["rows"][k]["ratio"].get<double>(), ratios[k], 1e-12);
        }
    }
    // The table for the balance: one line per sample, grams lined up by their points.
    EXPECT_NE(series({"--final", kBst, "--vary", "x=0:0.5:0.1", "--grams", "2"})
                  .out.find("0.3  Ba0.7Sr0.3TiO3  1.263399  0.406780  0.732936  ok\n"),
              std::string::npos);
}

TEST_F(Series, ZeroCountsDropTheirGroupNegativeOnesFailOneSampleAndPurityWeighsHeavier) {
    Records records = csv({"--final", "(BaTiO3){1-x}(SrTiO3){x}", "--vary", "x=0:1:1"});
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1][1] + " " + records[2][1], "(BaTiO3)1 (SrTiO3)1");

    // The expression's commas make the status a quoted field.
    const auto run =
        series({"--final", "Ba{min(1, 1-x)}Sr{x}TiO3", "--vary", "x=0.8:1.2:0.2", "--format", "csv"}, 3);
    records = readCsv(run.out);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2][1], "Sr1TiO3");
    EXPECT_EQ(run.out.substr(run.out.find("1.2,")),
              "1.2,Ba-0.2Sr1.2TiO3,\"The count {min(1, 1-x)} is negative (-0.2).\",,,\r\n");
    for (int i : {1, 2}) EXPECT_EQ(records[i][2], "ok") << "the other samples still solve";
    EXPECT_EQ(std::stod(records[2][4]), handGrams(1, 10)[1]);

    records = csv({"--final", kBst, "--vary", "x=0.5:0.5:0", "--purity", "SrCO3=99.5"});
    ASSERT_EQ(records.size(), 2u);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(std::stod(records[1][3 + k]), handGrams(0.5, 10)[k] / (k == 1 ? 0.995 : 1), 1e-12);
    // A purity that makes the corrected grams overflow refuses the sample, naming the row.
    records = csv({"--final", kBst, "--vary", "x=0.5:0.5:0", "--purity", "SrCO3=1e-310"}, 3);
    EXPECT_EQ(records.at(1).at(2), "The corrected grams of SrCO3 (row 2) are too large to weigh.");
}

TEST_F(Series, JsonLinesHoldOneCompactSamplePerLineFailuresIncluded) {
    const Args args = {"--final", kBst, "--vary", "x=0:1.5:0.5", "--purity", "SrCO3=99.5", "--format"};
    Args jsonl = args, json = args;
    jsonl.push_back("jsonl");
    json.push_back("json");
    const auto run = series(jsonl, 3);
    const auto array = nlohmann::json::parse(series(json, 3).out);
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = run.out.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(nlohmann::json::parse(run.out.substr(start, end - start)), array[i]);
        start = end + 1;
    }
    EXPECT_EQ(start, run.out.size());
    EXPECT_EQ(array[3]["status"], "The count {1-x} is negative (-0.5).");
    EXPECT_TRUE(array[3]["rows"][0]["grams"].is_null());
    EXPECT_TRUE(array[3]["rows"][1]["grams_corrected"].is_null());
    // Once one row has a correction, every row carries the correction fields.
    const auto& rows = array[1]["rows"];
    EXPECT_EQ(rows[1]["purity_pct"], 99.5);
    EXPECT_EQ(rows[1]["grams_corrected"].get<double>(), rows[1]["grams"].get<double>() / 0.995);
    EXPECT_EQ(rows[0]["purity_pct"], 100);
    EXPECT_EQ(rows[0]["excess_pct"], 0);
    EXPECT_EQ(rows[0]["grams_corrected"], rows[0]["grams"]);
}

TEST_F(Series, ExitStatusNamesWhatIsWrong) {
    const struct {
        Args args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--final", kBst, "--vary", "x=0:0.5:0.1", "--purity", "BaCO3=100"}, 0, ""},
        {{"--vary", "x=0:1:1"}, 64, "--final TEMPLATE is missing"},
        {{"--final", kBst}, 64, "--vary NAME=FROM:TO:STEP is missing"},
        {{"--final", "Ba{1-*x}TiO3", "--vary", "x=0:1:1"}, 64, "{1-*x}"},
        {{"--final", "Ba{1-y}TiO3", "--vary", "x=0:1:1"}, 64, "\"y\""},
        {{"--final", "Ba{1-x", "--vary", "x=0:1:1"}, 64, "is not closed"},
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
        {{"--final", "Ba{1-x}Xx{x}TiO3", "--vary", "x=0:1:1"}, 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_NE(series(c.args, c.exitCode).err.find(c.message), std::string::npos) << c.message;
    const auto missing =
        test::runCli({"series", "--atoms", atoms, dir.write("bad.qvs", "0 1 1 BaTiO3\n31 0 1 TiO2\n"),
                      "--final", kBst, "--vary", "x=0:1:1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Failed to load a file.\n");
    EXPECT_EQ(test::runCli({"--version"}).out, "quorvex-cli " QV_VERSION "\n");
}

}  // namespace
}  // namespace qv
