#pragma once
// The lab database: the bottles on the shelf (formula, label, supplier, lot,
// purity, default excess) and the weighing sessions done at the bench, in one
// SQLite file that the window and the command line share.
//
// The schema carries its version (user_version) and is brought up to date on
// open, one migration per version, each in its own transaction. A file from a
// newer program, a damaged file and a file that cannot be opened are refused
// with a message naming the path; nothing is changed or reset then. The file
// uses WAL where the file system allows it, the rollback journal otherwise,
// and waits a few seconds for another program that is writing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace qv::store {

inline constexpr int kSchemaVersion = 2;
inline constexpr int kBusyTimeoutMs = 5000;

struct Bottle {
    std::int64_t id = 0;  // 0 until stored
    std::string formula;  // as typed, e.g. "CuSO4·5H2O"
    std::string label;
    std::string supplier;
    std::string lot;
    double purityPct = 100.0;  // 0 < p <= 100
    double excessPct = 0.0;    // 0 <= e <= 100
};

// Empty when the corrections are in range, else what is wrong with which value.
std::string checkCorrections(double purityPct, double excessPct);

struct SessionRow {
    int row = 0;  // the recipe's row number, 1..30
    std::string formula;
    double planned = 0.0;  // grams to weigh, corrections applied
    std::optional<double> actual;
    std::optional<std::int64_t> bottleId;
    std::string lot;
};

struct Session {
    std::int64_t id = 0;  // 0 until recorded
    std::string time;     // ISO 8601 with the UTC offset; now when recorded empty
    std::string recipe;   // the recipe's full text
    std::string sampleTag;
    std::string finalFormula;
    double finalGrams = 0.0;
    double factor = 1.0;
    std::vector<SessionRow> rows;
    std::optional<std::string> asWeighed;  // JSON text
    std::optional<double> firedGrams;
    std::optional<double> beforeGrams;
    std::optional<double> completenessPct;
};

// "2026-12-07T21:05:03+01:00" for a time in the local zone.
std::string isoLocalTime(std::int64_t secondsSinceEpoch);

enum class OpenStatus { Ok, CannotOpen, Damaged, NewerVersion };
enum class Found { Yes, No, Failed };

class LabDatabase {
public:
    LabDatabase() = default;
    ~LabDatabase();
    LabDatabase(const LabDatabase&) = delete;
    LabDatabase& operator=(const LabDatabase&) = delete;

    // $XDG_DATA_HOME/Quorvex/lab.sqlite, ~/.local/share/Quorvex/lab.sqlite
    // when XDG_DATA_HOME is unset or not absolute.
    static std::string defaultPath();

    // Opens (creating when absent) and migrates. With `makeFolder` the folder
    // is created first, as for the default path. A "file:" path is an SQLite
    // URI. On failure error() says why.
    OpenStatus open(const std::string& path, bool makeFolder = false);
    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }
    // The reason of the last failure, with the path.
    const std::string& error() const { return error_; }
    // Set by open when the file system refused WAL: say it once.
    const std::string& notice() const { return notice_; }

    // Bottles. Ids are never reused.
    std::optional<std::int64_t> addBottle(const Bottle& bottle);
    Found updateBottle(const Bottle& bottle);
    Found removeBottle(std::int64_t id);
    std::optional<std::vector<Bottle>> bottles();  // in id order
    // All of them in one transaction: none is stored when one fails.
    bool addBottles(const std::vector<Bottle>& bottles);

    // Weighing sessions.
    std::optional<std::int64_t> recordSession(const Session& session);
    // Newest first. A non-empty `search` keeps the sessions whose sample tag
    // holds it (any case) or whose final compound or some row's formula holds it.
    std::optional<std::vector<Session>> sessions(std::string_view search = {});
    Found session(std::int64_t id, Session& out);
    Found setFiredMasses(std::int64_t id, std::optional<double> firedGrams, std::optional<double> beforeGrams,
                         std::optional<double> completenessPct);

    sqlite3* handle() { return db_; }

private:
    bool fail(std::string_view what);
    bool migrate();
    bool exec(const char* sql);
    void close();

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string error_;
    std::string notice_;
};

}  // namespace qv::store
