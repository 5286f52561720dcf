#include <nlohmann/json.hpp>

#include "cli/cli_cases.h"

namespace qv {

using Json = nlohmann::json;

constexpr double kBaCO3 = 197.34, kTiO2 = 79.87, kBaTiO3 = 233.2;

TEST(Weigh, RescaledPlanBadValuesThenSessionAndFiredMass) {
    test::TempDir dir;
    const std::string atoms = dir.write("atoms.lst",
                                        "1 Ba 137.33\n2 Ti 47.87\n3 La 138.91\n4 C 12.01 m\n5 O 16 m\n"),
                      recipe = dir.write("bt.qvs", "-1 S1\r\n0 10 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 TiO2\r\n"),
                      db = (dir.path() / "lab.sqlite").string();
    const auto cli = [&](const std::string& verb, test::Args rest) {
        rest.insert(rest.begin(), {verb, "--atoms", atoms, "--db", db});
        if (verb == "log") rest.erase(rest.begin() + 1, rest.begin() + 3);
        return test::runCli(rest);
    };
    const auto json = [&](const std::string& verb, test::Args rest) {
        const auto run = cli(verb, rest);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return Json::parse(run.out.empty() ? "null" : run.out);
    };
    Json doc = json("weigh", {recipe, "--actual", "BaCO3=8.6", "--no-record", "--format", "json"});
    const double f = 8.6 * kBaTiO3 / (kBaCO3 * 10), ti = kTiO2 * 86 / 1973.4;
    EXPECT_NEAR(doc["factor"], f, 1e-12);
    EXPECT_NEAR(doc["final_grams"], 10 * f, 1e-9);
    for (const char* unknown : {"session_id", "as_weighed", "deviation_pct"})
        EXPECT_EQ(doc[unknown], nullptr);
    EXPECT_NEAR(doc["min_weight_grams"], 0.082, 1e-12);
    EXPECT_NEAR(doc["mass_change_pct"], 100 * (kBaTiO3 - kBaCO3 - kTiO2) / (kBaCO3 + kTiO2), 1e-9);
    const Json& row = doc["rows"][1];
    EXPECT_EQ(Json::array({row["row"], row["actual"], row["below_min_weight"]}),
              Json::array({2, nullptr, false}));
    for (const char* key : {"target", "to_add"}) EXPECT_NEAR(row[key], ti, 1e-9) << key;

    const std::string la =
        dir.write("la.qvs", "0 1 1 Ba0.99La0.01TiO3\r\n1 0 0 BaCO3\r\n2 0 0 La2O3\r\n3 0 0 TiO2\r\n");
    doc =
        json("weigh", {la, "--no-record", "--format=json", "--purity", "La2O3=99", "--tolerance", "0.1",
                       "--per", "Ti", "--actual", "1=0.8", "--actual", "La2O3=0.0071", "--actual", "3=0.35"});
    const double la2o3 = 0.005 * 325.82 / (0.99 * 137.33 + 0.01 * 138.91 + 47.87 + 48) / 0.99;
    EXPECT_NEAR(doc["rows"][1]["planned"], la2o3, 1e-12);
    EXPECT_EQ(doc["rows"][1]["purity_pct"], 99);
    for (int i : {0, 1}) EXPECT_EQ(doc["rows"][i]["below_min_weight"], i == 1) << i;
    EXPECT_NEAR(doc["min_batch_grams"], 0.082 / la2o3, 1e-9);
    // Per Ti: 0.35 g of TiO2 against 0.0071 g of 99 % La2O3.
    EXPECT_NEAR(doc["as_weighed"]["La"], 2 * 0.0071 * 0.99 / 325.82 / (0.35 / 79.87), 1e-9);

    // Bad values record nothing.
    const std::string twice =
        dir.write("two.qvs", "0 10 1 BaTiO3\r\n1 1 0.5 BaCO3\r\n2 1 0.5 BaCO3\r\n3 0 0 TiO2\r\n");
    // clang-format off
    test::expectCliCases({"weigh", "--atoms", atoms, "--db", db}, {
        {{recipe, "--actual", "BaO=1"}, 64, "--actual BaO: no used row of the recipe holds this formula"},
        {{recipe, "--actual", "TiO2=-1"}, 64, "--actual TiO2=-1: a mass cannot be negative"},
        {{recipe, "--actual", "7=1"}, 64, "row 7 is not a used row"},
        {{recipe, "--readability", "0"}, 64, "readability 0 g: it must be above zero"},
        {{recipe, "--tolerance", "-1"}, 64, "tolerance -1 %: it must be above zero"},
        {{recipe, "--repeatability=-0.1"}, 64, "repeatability -0.1 g: it must not be negative"},
        {{recipe, "--per", "O"}, 64, "--per O: not one of the final compound's elements on the Include list"},
        {{recipe, "--purity", "TiO2=0"}, 64, "--purity TiO2: the percentage must be a number above 0"},
        {{twice, "--actual", "BaCO3=5"}, 64, "the formula is on rows 1 and 2; give the row number"},
        {{dir.write("u.qvs", "0 1 1 BaTiO3\r\n1 0 1 TiO2\r\n")}, 3, ""},
        // The last value given for a row wins; the text table for the balance.
        {{twice, "--actual", "1=5", "--actual", "1=4.9", "--no-record"}, 0, "",
         "ID: \nBaTiO3  (11.580825 grams, factor 1.158082)\n"
         "Row  Formula               Planned       Actual       Target       To add\n"
         "1    BaCO3                4.231132          4.9          4.9            0\n"
         "2    BaCO3                4.231132            -          4.9          4.9\n"
         "3    TiO2                 3.424957            -     3.966383     3.966383\n"
         "Minimum weight: 0.082 g; minimum batch: 0.239419 g\nMass change on firing: -15.88 %\n"},
    });
    // clang-format on
    EXPECT_EQ(json("log", {"--format", "json"}), Json::array());

    // A session recorded, then its fired mass added later.
    const std::string planned0 = std::to_string(kBaCO3 * 10 / kBaTiO3),
                      planned1 = std::to_string(kTiO2 * 10 / kBaTiO3);
    const Json weighed = json("weigh", {recipe, "--actual", "BaCO3=" + planned0, "--actual",
                                        "TiO2=" + planned1, "--format", "json"});
    EXPECT_EQ(weighed["session_id"], 1);
    // Each call is a new program on the same file.
    Json listed = json("log", {"--format", "json"});
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(Json::array({listed[0]["sample_tag"], listed[0]["rows"][1]["actual"]}),
              Json::array({"S1", std::stod(planned1)}));
    EXPECT_NEAR(listed[0]["as_weighed"]["Ba"], 1, 1e-6);
    test::expectCliCases({"log", "--db", db},
                         {{{"--fired=1=8.5712", "--before", "-1"}, 64, "--before -1: the mass before"},
                          {{"--fired", "99=1"}, 64, "--fired: there is no session 99"},
                          {{"--fired", "1=-2"}, 64, "--fired 1=-2: the mass after firing"}});
    EXPECT_NEAR(json("log", {"--fired=1=8.5712", "--before", "10", "--format", "json"})["completeness_pct"],
                90, 0.01);
    listed = json("log", {"--format", "json"});
    EXPECT_EQ(Json::array({listed[0]["fired_grams"], listed[0]["before_grams"]}), Json::array({8.5712, 10}));
    const auto csv = cli("log", {"--format", "csv"});
    EXPECT_EQ(csv.out.rfind("id,time,sample_tag,", 0), 0u) << csv.out;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 3);
}

}  // namespace qv
