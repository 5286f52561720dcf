#include "store/lab_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>
#include <thread>

#include "store/bottle_csv.h"
#include "store/session_export.h"
#include "support/element_file.h"
#include "support/recipe_scratch.h"

// Bottles and sessions name only the fields a case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace qv::store {
namespace {

class LabDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(db.open(path), OpenStatus::Ok) << db.error(); }
    test::TempDir dir;
    std::string path = (dir.path() / "lab.sqlite").string();
    LabDatabase db;
};

Session sampleSession(const std::string& tag, const std::string& final) {
    const SessionRow rows[] = {{1, "BaCO3", 8.46, 8.5, 3, "L-17"}, {2, "TiO2", 3.42, {}, {}, ""}};
    return {0, "", "-1 " + tag + "\r\n", tag, final, 10, 1.25, {std::begin(rows), std::end(rows)}};
}

TEST_F(LabDatabaseTest, BottlesAreAddedChangedAndRemovedAndSessionsRecordedSearchedAndGivenFiredMasses) {
    const auto a = db.addBottle({0, "Li2CO3", "lithium carbonate", "Acme", "L-1", 99.5, 10});
    const auto b = db.addBottle({0, "CuSO4·5H2O", "", "", "", 99, 0});
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(db.addBottle({.formula = "TiO2", .purityPct = 0}));
    EXPECT_FALSE(db.addBottle({.formula = "TiO2", .excessPct = -1}));
    EXPECT_NE(db.error().find("excess -1"), std::string::npos) << db.error();
    EXPECT_EQ(db.updateBottle({*b, "CuSO4·5H2O", "blue", "", "L-9", 98, 2}), Found::Yes);
    EXPECT_EQ(db.updateBottle({.id = 999, .formula = "X"}), Found::No);
    EXPECT_EQ((std::array{db.removeBottle(*a), db.removeBottle(*a)}), (std::array{Found::Yes, Found::No}));
    ASSERT_TRUE(db.addBottle({.formula = "TiO2"}));
    LabDatabase again;  // what was stored is what another connection reads
    ASSERT_EQ(again.open(path), OpenStatus::Ok);
    EXPECT_EQ(bottlesCsv(again.bottles().value()),
              "id,formula,label,supplier,lot,purity_pct,excess_pct\r\n"
              "2,CuSO4·5H2O,blue,,L-9,98,2\r\n3,TiO2,,,,100,0\r\n");

    const auto first = db.recordSession(sampleSession("Probe für BaTi", "BaTiO3"));
    Session second = sampleSession("50%_x", "SrTiO3");
    second.time = "2026-01-02T03:04:05+01:00";
    second.asWeighed = R"({"Ba":1})";
    ASSERT_TRUE(first && db.recordSession(second));

    Session got;
    ASSERT_EQ(db.session(*first, got), Found::Yes);
    EXPECT_EQ(got.recipe, "-1 Probe für BaTi\r\n");
    // Local time with its offset, as +hh:mm.
    EXPECT_TRUE(std::regex_match(got.time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")))
        << got.time;
    EXPECT_EQ(
        sessionJson(db.sessions("SrTi")->at(0)),
        R"({"id":2,"time":"2026-01-02T03:04:05+01:00","sample_tag":"50%_x","final_formula":"SrTiO3",)"
        R"("final_grams":10,"factor":1.25,"rows":[{"row":1,"formula":"BaCO3","planned":8.46,"actual":8.5,)"
        R"("bottle_id":3,"lot":"L-17"},{"row":2,"formula":"TiO2","planned":3.42,"actual":null,)"
        R"("bottle_id":null,"lot":""}],"as_weighed":{"Ba":1},"fired_grams":null,"before_grams":null,)"
        R"("completeness_pct":null})");

    for (const auto& [search, tags] : std::initializer_list<std::pair<const char*, std::vector<std::string>>>{
             {"", {"50%_x", "Probe für BaTi"}},      // newest first
             {"PROBE", {"Probe für BaTi"}},          // tags in any case
             {"SrTi", {"50%_x"}},                    // the final compound
             {"TiO2", {"50%_x", "Probe für BaTi"}},  // a row's formula
             {"tio2", {}},                           // formulas keep their case
             {"0%", {"50%_x"}},                      // "%" is no wildcard
             {"_", {"50%_x"}}}) {
        const auto list = db.sessions(search);
        std::vector<std::string> found;
        for (const Session& x : list.value()) found.push_back(x.sampleTag);
        EXPECT_EQ(found, tags) << search;
    }

    // Fired masses stored and read back, and an unknown session: tests/cli (log --fired).
    EXPECT_EQ(db.setFiredMasses(12345, 1, 1, 1), Found::No);
}

TEST_F(LabDatabaseTest, CsvImportKeepsQuotesAndCommasAndRefusesBadValues) {
    std::vector<Bottle> bottles, back;
    std::string error;
    ASSERT_TRUE(
        parseBottlesCsv("\xEF\xBB\xBF"
                        "formula,label,supplier,purity_pct,excess_pct\r\n"
                        "Li2CO3,\"carbonate, battery grade\",\"Acme \"\"Fine\"\" Chem\",99.5,10\r\n\n"
                        "TiO2,\"two\nlines\",,,\r\n",
                        bottles, error))
        << error;
    EXPECT_EQ(bottlesCsv(bottles),
              "id,formula,label,supplier,lot,purity_pct,excess_pct\r\n"
              "0,Li2CO3,\"carbonate, battery grade\",\"Acme \"\"Fine\"\" Chem\",,99.5,10\r\n"
              "0,TiO2,\"two\nlines\",,,100,0\r\n");
    // Stored, exported and imported again: tests/cli (library import, export).

    for (const auto& [text, says] : {std::pair{"formula,colour\nTiO2,white\n", "unknown column \"colour\""},
                                     {"label\nx\n", "no \"formula\""},
                                     {"formula,purity_pct\nTiO2,101\n", "line 2: TiO2: purity 101"},
                                     {"formula,excess_pct\nTiO2,5%\n", "excess_pct \"5%\""},
                                     {"formula,label\nTiO2,\"open\n", "not closed"}}) {
        EXPECT_FALSE(parseBottlesCsv(text, back, error)) << text;
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
}

TEST_F(LabDatabaseTest, TwoWritersAtOnceRollbackJournalNewerOrDamagedFilesRefusedAndTheDefaultFile) {
    EXPECT_EQ(db.notice(), "");
    constexpr int kEach = 40;
    const auto writer = [&](const char* formula) {
        LabDatabase own;
        bool ok = own.open(path) == OpenStatus::Ok;
        for (int i = 0; ok && i < kEach; ++i)
            ok = own.addBottle({.formula = formula}) &&
                 (i % 4 || own.recordSession(sampleSession(formula, "")));
        EXPECT_TRUE(ok) << formula << ": " << own.error();
    };
    std::jthread(writer, "A"), std::jthread(writer, "B");  // both joined at the end of the statement
    EXPECT_EQ(db.bottles()->size(), 2u * kEach);
    EXPECT_EQ(db.sessions()->size(), 2u * kEach / 4);

    LabDatabase plain;
    ASSERT_EQ(plain.open("file:" + (dir.path() / "plain.sqlite").string() + "?vfs=unix-none"),
              OpenStatus::Ok);
    EXPECT_NE(plain.notice().find("rollback journal"), std::string::npos);
    EXPECT_TRUE(plain.addBottle({.formula = "TiO2"}));

    // A newer or damaged file is refused and left as it is.
    ASSERT_TRUE(db.addBottles(std::vector<Bottle>(300, {.formula = "TiO2", .label = std::string(100, 'l')})));
    ASSERT_EQ(sqlite3_exec(db.handle(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::string damaged = test::readFileBytes(path);
    const std::string newerVersion = "PRAGMA user_version=" + std::to_string(kSchemaVersion + 1);
    ASSERT_EQ(sqlite3_exec(db.handle(), newerVersion.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    const std::string newer = test::readFileBytes(path);
    EXPECT_EQ(db.open(path), OpenStatus::NewerVersion);
    EXPECT_NE(db.error().find(path + ": the lab database was written by a newer"), std::string::npos)
        << db.error();
    EXPECT_FALSE(db.bottles());
    EXPECT_EQ(test::readFileBytes(path), newer);

    // A real database with its third page overwritten, then garbage.
    dir.write("lab.sqlite", damaged.replace(4096 * 2, 3000, 3000, '\x7f'));
    EXPECT_EQ(db.open(path), OpenStatus::Damaged) << db.error();
    const std::string garbage(8192, 'x');
    dir.write("lab.sqlite", garbage);
    EXPECT_EQ(db.open(path), OpenStatus::Damaged);
    EXPECT_NE(db.error().find("damaged"), std::string::npos) << db.error();
    EXPECT_EQ(test::readFileBytes(path), garbage);

    EXPECT_EQ(db.open((dir.path() / "no-folder" / "lab.sqlite").string()), OpenStatus::CannotOpen);
    EXPECT_NE(db.error().find("no-folder/lab.sqlite: "), std::string::npos) << db.error();

    // The default file lies in the user's data folder.
    const std::string xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "",
                      home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(LabDatabase::defaultPath(), (dir.path() / "Quorvex" / "lab.sqlite").string());
    EXPECT_EQ(db.open(LabDatabase::defaultPath(), true), OpenStatus::Ok) << db.error();
    setenv("XDG_DATA_HOME", "relative", 1);
    setenv("HOME", "/home/chem", 1);
    EXPECT_EQ(LabDatabase::defaultPath(), "/home/chem/.local/share/Quorvex/lab.sqlite");
    setenv("HOME", home.c_str(), 1);
    xdg.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", xdg.c_str(), 1);
}

}  // namespace
}  // namespace qv::store
