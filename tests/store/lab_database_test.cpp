#include "store/lab_database.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "store/bottle_csv.h"
#include "support/recipe_scratch.h"

namespace qv::store {
namespace {

namespace fs = std::filesystem;

class LabDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("qv-store-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "lab.sqlite").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A raw connection, for what the program itself never does.
    void rawExec(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(LabDatabaseTest, BottlesAreAddedChangedListedAndRemoved) {
    LabDatabase db;
    ASSERT_EQ(db.open(path_), OpenStatus::Ok) << db.error();
    const auto a = db.addBottle({0, "Li2CO3", "lithium carbonate", "Acme", "L-1", 99.5, 10});
    const auto b = db.addBottle({0, "CuSO4·5H2O", "", "", "", 99, 0});
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(db.addBottle({0, "TiO2", "", "", "", 0, 0}));     // purity 0
    EXPECT_FALSE(db.addBottle({0, "TiO2", "", "", "", 100, -1}));  // excess below 0
    EXPECT_NE(db.error().find("excess -1"), std::string::npos) << db.error();

    EXPECT_EQ(db.updateBottle({*b, "CuSO4·5H2O", "blue", "", "L-9", 98, 2}), Found::Yes);
    EXPECT_EQ(db.updateBottle({999, "X", "", "", "", 100, 0}), Found::No);
    EXPECT_EQ(db.removeBottle(*a), Found::Yes);
    EXPECT_EQ(db.removeBottle(*a), Found::No);
    ASSERT_TRUE(db.addBottle({0, "TiO2", "", "", "", 100, 0}));

    // Reopened: what was stored is what is read, ids never reused.
    LabDatabase again;
    ASSERT_EQ(again.open(path_), OpenStatus::Ok);
    const auto list = again.bottles();
    ASSERT_TRUE(list && list->size() == 2);
    EXPECT_EQ((*list)[0].formula, "CuSO4·5H2O");
    EXPECT_EQ((*list)[0].lot, "L-9");
    EXPECT_EQ((*list)[0].purityPct, 98);
    EXPECT_EQ((*list)[0].excessPct, 2);
    EXPECT_GT((*list)[1].id, *b);
}

TEST_F(LabDatabaseTest, CsvImportKeepsQuotesAndCommasAndRefusesBadValues) {
    const std::string csv =
        "\xEF\xBB\xBF"
        "formula,label,supplier,purity_pct,excess_pct\r\n"
        "Li2CO3,\"carbonate, battery grade\",\"Acme \"\"Fine\"\" Chem\",99.5,10\r\n"
        "\n"
        "TiO2,\"two\nlines\",,,\r\n";
    std::vector<Bottle> bottles;
    std::string error;
    ASSERT_TRUE(parseBottlesCsv(csv, bottles, error)) << error;
    ASSERT_EQ(bottles.size(), 2u);
    EXPECT_EQ(bottles[0].label, "carbonate, battery grade");
    EXPECT_EQ(bottles[0].supplier, "Acme \"Fine\" Chem");
    EXPECT_EQ(bottles[0].purityPct, 99.5);
    EXPECT_EQ(bottles[1].label, "two\nlines");
    EXPECT_EQ(bottles[1].purityPct, 100);
    EXPECT_EQ(bottles[1].excessPct, 0);

    // Export and import again give the same bottles.
    LabDatabase db;
    ASSERT_EQ(db.open(path_), OpenStatus::Ok);
    ASSERT_TRUE(db.addBottles(bottles));
    std::vector<Bottle> back;
    ASSERT_TRUE(parseBottlesCsv(bottlesCsv(*db.bottles()), back, error)) << error;
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].supplier, bottles[0].supplier);
    EXPECT_EQ(back[1].label, bottles[1].label);

    const struct {
        std::string csv, error;
    } bad[] = {
        {"formula,colour\nTiO2,white\n", "unknown column \"colour\""},
        {"label\nx\n", "no \"formula\""},
        {"formula,purity_pct\nTiO2,101\n", "line 2: TiO2: purity 101"},
        {"formula,excess_pct\nTiO2,5%\n", "excess_pct \"5%\""},
        {"formula,label\nTiO2,\"open\n", "not closed"},
    };
    for (const auto& c : bad) {
        EXPECT_FALSE(parseBottlesCsv(c.csv, back, error)) << c.csv;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

Session sampleSession(const std::string& tag, const std::string& final) {
    Session s;
    s.recipe = "-1 " + tag + "\r\n";
    s.sampleTag = tag;
    s.finalFormula = final;
    s.finalGrams = 10;
    s.factor = 1.25;
    s.rows = {{1, "BaCO3", 8.46, 8.5, 3, "L-17"}, {2, "TiO2", 3.42, std::nullopt, std::nullopt, ""}};
    return s;
}

TEST_F(LabDatabaseTest, SessionsAreRecordedSearchedAndGivenFiredMasses) {
    LabDatabase db;
    ASSERT_EQ(db.open(path_), OpenStatus::Ok);
    const auto first = db.recordSession(sampleSession("Probe für BaTi", "BaTiO3"));
    Session second = sampleSession("50%_x", "SrTiO3");
    second.time = "2026-01-02T03:04:05+01:00";
    second.asWeighed = R"({"Ba":1})";
    ASSERT_TRUE(first && db.recordSession(second));

    Session got;
    ASSERT_EQ(db.session(*first, got), Found::Yes);
    EXPECT_EQ(got.sampleTag, "Probe für BaTi");
    EXPECT_EQ(got.factor, 1.25);
    EXPECT_FALSE(got.asWeighed);
    EXPECT_FALSE(got.firedGrams);
    ASSERT_EQ(got.rows.size(), 2u);
    EXPECT_EQ(got.rows[0].actual, 8.5);
    EXPECT_EQ(got.rows[0].bottleId, 3);
    EXPECT_EQ(got.rows[0].lot, "L-17");
    EXPECT_FALSE(got.rows[1].actual);
    EXPECT_FALSE(got.rows[1].bottleId);
    // Local time with its offset, as +hh:mm.
    EXPECT_EQ(got.time.size(), 25u) << got.time;
    EXPECT_EQ(got.time[22], ':');

    const struct {
        std::string search;
        std::vector<std::string> tags;
    } searches[] = {
        {"", {"50%_x", "Probe für BaTi"}},      // newest first
        {"PROBE", {"Probe für BaTi"}},          // tags in any case
        {"SrTi", {"50%_x"}},                    // the final compound
        {"TiO2", {"50%_x", "Probe für BaTi"}},  // a row's formula
        {"tio2", {}},                           // formulas keep their case
        {"0%", {"50%_x"}},                      // "%" is no wildcard
        {"_", {"50%_x"}},
    };
    for (const auto& s : searches) {
        const auto list = db.sessions(s.search);
        ASSERT_TRUE(list);
        std::vector<std::string> tags;
        for (const Session& x : *list) tags.push_back(x.sampleTag);
        EXPECT_EQ(tags, s.tags) << s.search;
    }
    const auto listed = db.sessions("SrTi");
    EXPECT_EQ((*listed)[0].time, "2026-01-02T03:04:05+01:00");
    EXPECT_EQ((*listed)[0].asWeighed, R"({"Ba":1})");
    EXPECT_EQ((*listed)[0].rows.size(), 2u);

    EXPECT_EQ(db.setFiredMasses(*first, 9.1, std::nullopt, 97.5), Found::Yes);
    EXPECT_EQ(db.setFiredMasses(12345, 1, 1, 1), Found::No);
    ASSERT_EQ(db.session(*first, got), Found::Yes);
    EXPECT_EQ(got.firedGrams, 9.1);
    EXPECT_FALSE(got.beforeGrams);
    EXPECT_EQ(got.completenessPct, 97.5);
    EXPECT_EQ(db.session(12345, got), Found::No);
}

TEST_F(LabDatabaseTest, TwoConnectionsWriteAtOnce) {
    LabDatabase setup;
    ASSERT_EQ(setup.open(path_), OpenStatus::Ok);
    EXPECT_TRUE(setup.notice().empty()) << setup.notice();
    constexpr int kEach = 40;
    const auto writer = [&](const char* formula, bool& ok) {
        LabDatabase db;
        ok = db.open(path_) == OpenStatus::Ok;
        for (int i = 0; ok && i < kEach; ++i) {
            ok = db.addBottle({0, formula, "", "", "", 100, 0}).has_value();
            if (ok && i % 4 == 0) ok = db.recordSession(sampleSession(formula, "BaTiO3")).has_value();
        }
    };
    bool okA = false, okB = false;
    std::thread a(writer, "A", std::ref(okA));
    std::thread b(writer, "B", std::ref(okB));
    a.join();
    b.join();
    EXPECT_TRUE(okA && okB);
    EXPECT_EQ(setup.bottles()->size(), 2u * kEach);
    EXPECT_EQ(setup.sessions()->size(), 2u * kEach / 4);

    // A file system without shared memory: the rollback journal, said once.
    LabDatabase plain;
    ASSERT_EQ(plain.open("file:" + (dir_ / "plain.sqlite").string() + "?vfs=unix-none"), OpenStatus::Ok);
    EXPECT_NE(plain.notice().find("rollback journal"), std::string::npos);
    EXPECT_TRUE(plain.addBottle({0, "TiO2", "", "", "", 100, 0}));
}

TEST_F(LabDatabaseTest, AKillDuringAWriteKeepsTheEarlierRecords) {
    {
        LabDatabase db;
        ASSERT_EQ(db.open(path_), OpenStatus::Ok);
        ASSERT_TRUE(db.addBottle({0, "Li2CO3", "kept", "", "", 99, 5}));
        ASSERT_TRUE(db.recordSession(sampleSession("kept", "BaTiO3")));
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A writer that dies half-way: a small page cache pushes the
        // uncommitted pages into the file before the kill.
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        sqlite3_exec(db, "PRAGMA cache_size=1; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 0; i < 2000; ++i)
            sqlite3_exec(db, "INSERT INTO bottles (formula, label) VALUES ('TiO2', hex(randomblob(200)))",
                         nullptr, nullptr, nullptr);
        raise(SIGKILL);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    // The dead writer's uncommitted pages did reach the disk.
    EXPECT_GT(fs::file_size(path_ + "-wal"), 100000u);

    LabDatabase db;
    ASSERT_EQ(db.open(path_), OpenStatus::Ok) << db.error();
    const auto bottles = db.bottles();
    ASSERT_TRUE(bottles && bottles->size() == 1u);
    EXPECT_EQ((*bottles)[0].label, "kept");
    EXPECT_EQ(db.sessions()->size(), 1u);
    EXPECT_TRUE(db.addBottle({0, "TiO2", "", "", "", 100, 0}));
}

TEST_F(LabDatabaseTest, ANewerOrDamagedFileIsRefusedAndLeftAsItIs) {
    {
        LabDatabase db;
        ASSERT_EQ(db.open(path_), OpenStatus::Ok);
        ASSERT_TRUE(db.addBottle({0, "TiO2", "", "", "", 100, 0}));
    }
    rawExec("PRAGMA user_version=" + std::to_string(kSchemaVersion + 1));
    const std::string newer = test::readFileBytes(path_);
    LabDatabase db;
    EXPECT_EQ(db.open(path_), OpenStatus::NewerVersion);
    EXPECT_NE(db.error().find(path_ + ": "), std::string::npos);
    EXPECT_NE(db.error().find("newer"), std::string::npos) << db.error();
    EXPECT_FALSE(db.bottles());
    EXPECT_EQ(test::readFileBytes(path_), newer);

    // Garbage, then a real database with a page overwritten.
    std::string garbage(8192, 'x');
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << garbage;
    EXPECT_EQ(db.open(path_), OpenStatus::Damaged);
    EXPECT_NE(db.error().find("damaged"), std::string::npos) << db.error();
    EXPECT_EQ(test::readFileBytes(path_), garbage);

    fs::remove(path_);
    {
        LabDatabase fresh;
        ASSERT_EQ(fresh.open(path_), OpenStatus::Ok);
        std::vector<Bottle> many(300, Bottle{0, "TiO2", std::string(100, 'l'), "", "", 100, 0});
        ASSERT_TRUE(fresh.addBottles(many));
    }
    rawExec("PRAGMA journal_mode=DELETE");
    {
        std::fstream f(path_, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(4096 * 2);  // the third page, its header first
        f << std::string(3000, '\x7f');
    }
    EXPECT_EQ(db.open(path_), OpenStatus::Damaged) << db.error();

    EXPECT_EQ(db.open((dir_ / "no-folder" / "lab.sqlite").string()), OpenStatus::CannotOpen);
    EXPECT_NE(db.error().find("no-folder/lab.sqlite: "), std::string::npos) << db.error();
}

TEST_F(LabDatabaseTest, TheDefaultFileLiesInTheUsersDataFolder) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", dir_.c_str(), 1);
    EXPECT_EQ(LabDatabase::defaultPath(), (dir_ / "Quorvex" / "lab.sqlite").string());
    LabDatabase db;
    EXPECT_EQ(db.open(LabDatabase::defaultPath(), true), OpenStatus::Ok) << db.error();
    setenv("XDG_DATA_HOME", "relative", 1);
    setenv("HOME", "/home/chem", 1);
    EXPECT_EQ(LabDatabase::defaultPath(), "/home/chem/.local/share/Quorvex/lab.sqlite");
    setenv("HOME", home.c_str(), 1);
    if (oldXdg)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace qv::store
