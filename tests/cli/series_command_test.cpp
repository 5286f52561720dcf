#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
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
constexpr std::string_view kRecipe =
    "-1 BST\r\n0 10 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 SrCO3\r\n3 0 0 TiO2\r\n";

// Grams of BaCO3, SrCO3 and TiO2 for `g` grams of Ba(1-x)Sr(x)TiO3.
std::vector<double> handGrams(double x, double g) {
    const double moles = g / (233 - 49 * x);
    return {moles * (1 - x) * 197, moles * x * 148, moles * 80};
}

// RFC 4180 records: fields split at commas outside quotes, each record ends
// in CR LF.
Records readCsv(std::string_view text) {
    Records records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && (text[i] == ',' || text.substr(i, 2) == "\r\n")) {
            record.push_back(std::exchange(field, {}));
            if (text[i] == '\r') records.push_back(std::exchange(record, {})), ++i;
        } else {
            field += text[i];
        }
    }
    EXPECT_TRUE(field.empty() && record.empty() && !quoted) << "unterminated last record";
    return records;
}

class Series : public ::testing::Test {
protected:
    test::ProgramResult series(Args rest) {
        rest.insert(rest.begin(), {"series", "--atoms", atoms, recipe});
        return test::runCli(rest);
    }
    Records csv(Args rest, int exitCode) {
        rest.insert(rest.end(), {"--format", "csv"});
        const auto run = series(rest);
        EXPECT_EQ(run.exitCode, exitCode) << run.err;
        return readCsv(run.out);
    }

    test::TempDir dir;
    std::string atoms = dir.write("atoms.lst", kElements);
    std::string recipe = dir.write("bst.qvs", kRecipe);
};

TEST_F(Series, BariumStrontiumTitanateMatchesTheHandValues) {
    const Args bst = {"--final", "Ba{1-x}Sr{x}TiO3", "--vary", "x=0:0.5:0.1"};
    const Records records = csv(bst, 0);
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[0],
              (std::vector<std::string>{"x", "final_formula", "status", "BaCO3", "SrCO3", "TiO2"}));
    const char* formulas[] = {"Ba1TiO3",        "Ba0.9Sr0.1TiO3", "Ba0.8Sr0.2TiO3",
                              "Ba0.7Sr0.3TiO3", "Ba0.6Sr0.4TiO3", "Ba0.5Sr0.5TiO3"};
    auto json = nlohmann::json::parse(series({bst[0], bst[1], bst[2], bst[3], "--format", "json"}).out);
    ASSERT_EQ(json.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        const double x = i / 10.0;
        const auto& r = records[i + 1];
        ASSERT_EQ(r.size(), 6u);
        EXPECT_EQ(std::stod(r[0]), x) << "each value reads back as typed: " << r[0];
        EXPECT_EQ(r[1], formulas[i]) << "a zero count drops its element";
        EXPECT_EQ(r[2], "ok");
        const auto& sample = json[i];
        EXPECT_EQ(sample["x"], std::stod(r[0]));
        EXPECT_EQ(sample["final_formula"], r[1]);
        EXPECT_NEAR(sample["molar_mass"].get<double>(), 233 - 49 * x, 1e-12);
        EXPECT_EQ(sample["balance_residual"], "CO2");
        const double ratios[] = {1 - x, x, 1};
        const std::vector<double> grams = handGrams(x, 10);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(std::stod(r[3 + k]), grams[k], 1e-12) << formulas[i] << " column " << k;
            EXPECT_EQ(sample["rows"][k]["grams_corrected"].get<double>(), std::stod(r[3 + k]));
            EXPECT_NEAR(sample["rows"][k]["ratio"].get<double>(), ratios[k], 1e-12);
        }
    }
    // The table for the balance: one line per sample, grams lined up by their points.
    const auto text = series({bst[0], bst[1], bst[2], bst[3], "--grams", "2"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("0.3  Ba0.7Sr0.3TiO3  1.263399  0.406780  0.732936  ok\n"), std::string::npos)
        << text.out;
}

TEST_F(Series, ZeroCountsDropTheirGroupAndNegativeOnesFailOneSample) {
    Records records = csv({"--final", "(BaTiO3){1-x}(SrTiO3){x}", "--vary", "x=0:1:1"}, 0);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1][1], "(BaTiO3)1");
    EXPECT_EQ(records[2][1], "(SrTiO3)1");

    // The expression's commas make the status a quoted field.
    records = csv({"--final", "Ba{min(1, 1-x)}Sr{x}TiO3", "--vary", "x=0.8:1.2:0.2"}, 3);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2][1], "Sr1TiO3");
    EXPECT_EQ(records[3],
              (std::vector<std::string>{"1.2", "Ba-0.2Sr1.2TiO3",
                                        "The count {min(1, 1-x)} is negative (-0.2).", "", "", ""}));
    for (int i : {1, 2}) EXPECT_EQ(records[i][2], "ok") << "the other samples still solve";
    EXPECT_EQ(std::stod(records[2][4]), handGrams(1, 10)[1]);
}

TEST_F(Series, PurityWeighsOnePrecursorHeavierByExactlyOneOverPct) {
    const Args one = {"--final", "Ba{1-x}Sr{x}TiO3", "--vary", "x=0.5:0.5:0"};
    const Records pure = csv(one, 0);
    Args impure = one;
    impure.insert(impure.end(), {"--purity", "SrCO3=99.5"});
    const Records corrected = csv(impure, 0);
    ASSERT_EQ(pure.size(), 2u);
    ASSERT_EQ(corrected.size(), 2u);
    EXPECT_EQ(std::stod(corrected[1][4]), std::stod(pure[1][4]) / 0.995);
    EXPECT_EQ(corrected[1][3], pure[1][3]);
    EXPECT_EQ(corrected[1][5], pure[1][5]);

    // The report carries the correction beside the grams.
    const auto run = test::runCli({"report", "--atoms", atoms, "--json", "--purity=TiO2=80", recipe});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto rows = nlohmann::json::parse(run.out)["rows"];
    EXPECT_EQ(rows[2]["grams_corrected"].get<double>(), rows[2]["grams"].get<double>() / 0.8);
    EXPECT_EQ(rows[0]["grams_corrected"], rows[0]["grams"]);
    EXPECT_NE(run.out.find("\"grams\":10,"), std::string::npos) << "shortest numbers: " << run.out;
    const auto text = test::runCli({"report", "--atoms", atoms, "--purity", "TiO2=80", recipe});
    EXPECT_NE(text.out.find("Purity(%)"), std::string::npos) << text.out;
}

TEST_F(Series, JsonLinesHoldOneCompactSamplePerLineFailuresIncluded) {
    const auto run = series({"--final", "Ba{1-x}Sr{x}TiO3", "--vary", "x=0:1.5:0.5", "--format", "jsonl"});
    EXPECT_EQ(run.exitCode, 3);
    const auto array = nlohmann::json::parse(
        series({"--final", "Ba{1-x}Sr{x}TiO3", "--vary", "x=0:1.5:0.5", "--format", "json"}).out);
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = run.out.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const auto line = nlohmann::json::parse(run.out.substr(start, end - start));
        EXPECT_EQ(line, array[i]);
        start = end + 1;
    }
    EXPECT_EQ(start, run.out.size());
    EXPECT_EQ(array[3]["status"], "The count {1-x} is negative (-0.5).");
    EXPECT_TRUE(array[3]["rows"][0]["grams_corrected"].is_null());
    EXPECT_EQ(array[1]["rows"][1]["purity_pct"], 100);
    // A purity that makes the corrected grams overflow refuses the sample, naming the row.
    const Records tiny =
        csv({"--final", "Ba{1-x}Sr{x}TiO3", "--vary", "x=0.5:0.5:0", "--purity", "SrCO3=1e-310"}, 3);
    EXPECT_EQ(tiny.at(1).at(2), "The corrected grams of SrCO3 (row 2) are too large to weigh.");
}

TEST_F(Series, ExitStatusNamesWhatIsWrong) {
    const std::string bst = "Ba{1-x}Sr{x}TiO3";
    const struct {
        Args args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--final", bst, "--vary", "x=0:0.5:0.1", "--purity", "BaCO3=100"}, 0, ""},
        {{"--vary", "x=0:1:1"}, 64, "--final TEMPLATE is missing"},
        {{"--final", bst}, 64, "--vary NAME=FROM:TO:STEP is missing"},
        {{"--final", "Ba{1-*x}TiO3", "--vary", "x=0:1:1"}, 64, "{1-*x}"},
        {{"--final", "Ba{1-y}TiO3", "--vary", "x=0:1:1"}, 64, "\"y\""},
        {{"--final", "Ba{1-x", "--vary", "x=0:1:1"}, 64, "is not closed"},
        {{"--final", "{x}BaTiO3", "--vary", "x=0:1:1"}, 64, "follows neither an element symbol nor"},
        {{"--final", bst, "--vary", "x=0:1"}, 64, "FROM:TO:STEP"},
        {{"--final", bst, "--vary", "x=0:1:-0.5"}, 64, "does not lead from 0 to 1"},
        {{"--final", bst, "--vary", "x=0:1:1e-9"}, 64, "more than 1000000 values"},
        {{"--final", bst, "--vary", "status=0:1:1"}, 64, "names an output field"},
        {{"--final", bst, "--vary", "x=0:1:1", "--purity", "BaCO3=0"}, 64, "above 0 and at most 100"},
        {{"--final", bst, "--vary", "x=0:1:1", "--purity", "BaO=99"}, 64, "BaO: no source row"},
        {{"--final", bst, "--vary", "x=0:1:1", "--grams", "none"}, 64, "Specify correct weight"},
        {{"--final", bst, "--vary", "x=0:1:1", "--format", "xml"}, 64, "text, csv or json"},
        {{"--final", bst, "--vary", "x=0:1:1", "other.qvs"}, 64, "one recipe only"},
        {{"--final", "Ba{1-x}Xx{x}TiO3", "--vary", "x=0:1:1"}, 3, ""},
    };
    for (const auto& c : cases) {
        const auto run = series(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args[1] << " " << c.message << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    const auto missing =
        test::runCli({"series", "--atoms", atoms, dir.write("bad.qvs", "0 1 1 BaTiO3\n31 0 1 TiO2\n"),
                      "--final", bst, "--vary", "x=0:1:1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Failed to load a file.\n");
    EXPECT_EQ(test::runCli({"--version"}).out, "quorvex-cli " QV_VERSION "\n");
}

}  // namespace
}  // namespace qv
