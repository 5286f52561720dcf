#include "store/lab_database.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "core/number_format.h"

namespace qv::store {
namespace {

// Migration N brings a file of version N-1 to version N.
constexpr const char* kMigrations[kSchemaVersion] = {
    "CREATE TABLE bottles ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " formula TEXT NOT NULL,"
    " label TEXT NOT NULL DEFAULT '',"
    " supplier TEXT NOT NULL DEFAULT '',"
    " lot TEXT NOT NULL DEFAULT '',"
    " purity_pct REAL NOT NULL DEFAULT 100 CHECK (purity_pct > 0 AND purity_pct <= 100),"
    " excess_pct REAL NOT NULL DEFAULT 0 CHECK (excess_pct >= 0 AND excess_pct <= 100));"
    "CREATE INDEX bottles_formula ON bottles(formula);",

    "CREATE TABLE sessions ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " time TEXT NOT NULL,"
    " recipe TEXT NOT NULL,"
    " sample_tag TEXT NOT NULL,"
    " final_formula TEXT NOT NULL,"
    " final_grams REAL NOT NULL,"
    " factor REAL NOT NULL,"
    " as_weighed TEXT,"
    " fired_grams REAL,"
    " before_grams REAL,"
    " completeness_pct REAL);"
    "CREATE TABLE session_rows ("
    " session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,"
    " row INTEGER NOT NULL,"
    " formula TEXT NOT NULL,"
    " planned REAL NOT NULL,"
    " actual REAL,"
    " bottle_id INTEGER,"
    " lot TEXT NOT NULL DEFAULT '',"
    " PRIMARY KEY (session_id, row));",
};

// One prepared statement, finalised on every path out.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    void bind(int i, std::string_view text) {
        sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bind(int i, double value) { sqlite3_bind_double(stmt_, i, value); }
    void bind(int i, std::int64_t value) { sqlite3_bind_int64(stmt_, i, value); }
    template <class T>
    void bind(int i, const std::optional<T>& value) {
        if (value)
            bind(i, *value);
        else
            sqlite3_bind_null(stmt_, i);
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return ok() ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    void reset() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    std::string text(int col) const {
        const auto* p = sqlite3_column_text(stmt_, col);
        return p ? std::string(reinterpret_cast<const char*>(p),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
                 : std::string();
    }
    double real(int col) const { return sqlite3_column_double(stmt_, col); }
    std::int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }
    bool null(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
    std::optional<double> optReal(int col) const {
        return null(col) ? std::nullopt : std::optional<double>(real(col));
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE takes the write lock at once (waiting out the busy
// timeout), so two writers never deadlock upgrading a read lock.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) {
        began_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Transaction() {
        if (began_ && !done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    bool began() const { return began_; }
    bool commit() {
        done_ = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        return done_;
    }

private:
    sqlite3* db_;
    bool began_ = false;
    bool done_ = false;
};

bool isDamage(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

Bottle readBottle(const Statement& s) {
    Bottle b;
    b.id = s.integer(0);
    b.formula = s.text(1);
    b.label = s.text(2);
    b.supplier = s.text(3);
    b.lot = s.text(4);
    b.purityPct = s.real(5);
    b.excessPct = s.real(6);
    return b;
}

void bindBottle(Statement& s, const Bottle& b) {
    s.bind(1, b.formula);
    s.bind(2, b.label);
    s.bind(3, b.supplier);
    s.bind(4, b.lot);
    s.bind(5, b.purityPct);
    s.bind(6, b.excessPct);
}

std::string likePattern(std::string_view search) {
    std::string out = "%";
    for (const char c : search) {
        if (c == '%' || c == '_' || c == '\\') out += '\\';
        out += c;
    }
    return out + "%";
}

}  // namespace

std::string checkCorrections(double purityPct, double excessPct) {
    if (!(purityPct > 0.0 && purityPct <= 100.0))
        return "purity " + formatShortest(purityPct) + " % is not above 0 and at most 100";
    if (!(excessPct >= 0.0 && excessPct <= 100.0))
        return "excess " + formatShortest(excessPct) + " % is not between 0 and 100";
    return {};
}

std::string isoLocalTime(std::int64_t secondsSinceEpoch) {
    const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[40];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string out(buffer);
    // %z gives +0100; ISO 8601's extended form wants +01:00.
    if (out.size() >= 5) out.insert(out.size() - 2, ":");
    return out;
}

LabDatabase::~LabDatabase() { close(); }

void LabDatabase::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

std::string LabDatabase::defaultPath() {
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".local" / "share";
    }
    return (base / "Quorvex" / "lab.sqlite").string();
}

bool LabDatabase::fail(std::string_view what) {
    error_ = path_ + ": " + std::string(what);
    if (db_) {
        error_ += ": ";
        error_ += sqlite3_errmsg(db_);
        if (const int err = sqlite3_system_errno(db_); err != 0) {
            error_ += " (";
            error_ += std::strerror(err);
            error_ += ")";
        }
    }
    return false;
}

bool LabDatabase::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

OpenStatus LabDatabase::open(const std::string& path, bool makeFolder) {
    close();
    path_ = path;
    error_.clear();
    notice_.clear();
    if (makeFolder) {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder, ec);
        if (ec) {
            error_ = path + ": cannot create the folder: " + ec.message();
            return OpenStatus::CannotOpen;
        }
    }
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_URI,
                        nullptr) != SQLITE_OK) {
        fail("cannot open the lab database");
        close();
        return OpenStatus::CannotOpen;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);

    // The first read of the file tells a database from anything else.
    int version = 0;
    {
        Statement s(db_, "PRAGMA user_version");
        const int rc = s.step();
        if (rc != SQLITE_ROW) {
            const bool damaged = isDamage(rc) || isDamage(sqlite3_errcode(db_));
            fail(damaged
                     ? "the lab database is damaged and was left as it is (move it aside to start a new one)"
                     : "cannot read the lab database");
            close();
            return damaged ? OpenStatus::Damaged : OpenStatus::CannotOpen;
        }
        version = static_cast<int>(s.integer(0));
    }
    if (version > kSchemaVersion) {
        error_ = path + ": the lab database was written by a newer Quorvex (schema version " +
                 std::to_string(version) + ", this one reads up to " + std::to_string(kSchemaVersion) +
                 "); it was left as it is";
        close();
        return OpenStatus::NewerVersion;
    }
    {
        Statement s(db_, "PRAGMA quick_check");
        const int rc = s.step();
        if (rc != SQLITE_ROW || s.text(0) != "ok") {
            const bool damaged = rc == SQLITE_ROW || isDamage(rc);
            fail(damaged
                     ? "the lab database is damaged and was left as it is (move it aside to start a new one)"
                     : "cannot read the lab database");
            close();
            return damaged ? OpenStatus::Damaged : OpenStatus::CannotOpen;
        }
    }
    {
        // Another program busy switching a new file to WAL is no refusal.
        Statement s(db_, "PRAGMA journal_mode=WAL");
        if (s.step() == SQLITE_ROW && s.text(0) != "wal")
            notice_ = path + ": the file system refuses WAL; the lab database uses the rollback journal";
    }
    exec("PRAGMA synchronous=FULL");
    exec("PRAGMA foreign_keys=ON");
    // Up to date files skip the write lock the migration would take.
    if (version < kSchemaVersion && !migrate()) {
        close();
        return OpenStatus::CannotOpen;
    }
    return OpenStatus::Ok;
}

bool LabDatabase::migrate() {
    for (;;) {
        Transaction t(db_);
        if (!t.began()) return fail("cannot write the lab database");
        Statement s(db_, "PRAGMA user_version");
        if (s.step() != SQLITE_ROW) return fail("cannot read the lab database");
        // Read again under the write lock: another program may have migrated meanwhile.
        const int version = static_cast<int>(s.integer(0));
        if (version >= kSchemaVersion) return true;
        if (!exec(kMigrations[version])) return fail("cannot update the lab database");
        const std::string bump = "PRAGMA user_version=" + std::to_string(version + 1);
        if (!exec(bump.c_str()) || !t.commit()) return fail("cannot update the lab database");
    }
}

std::optional<std::int64_t> LabDatabase::addBottle(const Bottle& bottle) {
    if (!addBottles({bottle})) return std::nullopt;
    return sqlite3_last_insert_rowid(db_);
}

bool LabDatabase::addBottles(const std::vector<Bottle>& list) {
    if (!db_) return false;
    for (const Bottle& b : list)
        if (const std::string bad = checkCorrections(b.purityPct, b.excessPct); !bad.empty())
            return fail(b.formula + ": " + bad);
    Transaction t(db_);
    if (!t.began()) return fail("cannot write the lab database");
    Statement s(db_,
                "INSERT INTO bottles (formula, label, supplier, lot, purity_pct, excess_pct) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    for (const Bottle& b : list) {
        bindBottle(s, b);
        if (s.step() != SQLITE_DONE) return fail("cannot add the bottle");
        s.reset();
    }
    return t.commit() || fail("cannot write the lab database");
}

Found LabDatabase::updateBottle(const Bottle& bottle) {
    if (!db_) return Found::Failed;
    if (const std::string bad = checkCorrections(bottle.purityPct, bottle.excessPct); !bad.empty()) {
        fail(bottle.formula + ": " + bad);
        return Found::Failed;
    }
    Statement s(db_,
                "UPDATE bottles SET formula = ?1, label = ?2, supplier = ?3, lot = ?4, purity_pct = ?5, "
                "excess_pct = ?6 WHERE id = ?7");
    bindBottle(s, bottle);
    s.bind(7, bottle.id);
    if (s.step() != SQLITE_DONE) {
        fail("cannot change the bottle");
        return Found::Failed;
    }
    return sqlite3_changes(db_) > 0 ? Found::Yes : Found::No;
}

Found LabDatabase::removeBottle(std::int64_t id) {
    if (!db_) return Found::Failed;
    Statement s(db_, "DELETE FROM bottles WHERE id = ?1");
    s.bind(1, id);
    if (s.step() != SQLITE_DONE) {
        fail("cannot remove the bottle");
        return Found::Failed;
    }
    return sqlite3_changes(db_) > 0 ? Found::Yes : Found::No;
}

std::optional<std::vector<Bottle>> LabDatabase::bottles() {
    if (!db_) return std::nullopt;
    Statement s(db_,
                "SELECT id, formula, label, supplier, lot, purity_pct, excess_pct FROM bottles ORDER BY id");
    std::vector<Bottle> out;
    int rc = 0;
    while ((rc = s.step()) == SQLITE_ROW) out.push_back(readBottle(s));
    if (rc != SQLITE_DONE) {
        fail("cannot read the bottles");
        return std::nullopt;
    }
    return out;
}

std::optional<std::int64_t> LabDatabase::recordSession(const Session& session) {
    if (!db_) return std::nullopt;
    Transaction t(db_);
    if (!t.began()) {
        fail("cannot write the lab database");
        return std::nullopt;
    }
    Statement s(db_,
                "INSERT INTO sessions (time, recipe, sample_tag, final_formula, final_grams, factor, "
                "as_weighed, fired_grams, before_grams, completeness_pct) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    s.bind(1, session.time.empty() ? isoLocalTime(std::time(nullptr)) : session.time);
    s.bind(2, session.recipe);
    s.bind(3, session.sampleTag);
    s.bind(4, session.finalFormula);
    s.bind(5, session.finalGrams);
    s.bind(6, session.factor);
    s.bind(7, session.asWeighed);
    s.bind(8, session.firedGrams);
    s.bind(9, session.beforeGrams);
    s.bind(10, session.completenessPct);
    if (s.step() != SQLITE_DONE) {
        fail("cannot record the session");
        return std::nullopt;
    }
    const std::int64_t id = sqlite3_last_insert_rowid(db_);
    Statement r(db_,
                "INSERT INTO session_rows (session_id, row, formula, planned, actual, bottle_id, lot) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    for (const SessionRow& row : session.rows) {
        r.bind(1, id);
        r.bind(2, static_cast<std::int64_t>(row.row));
        r.bind(3, row.formula);
        r.bind(4, row.planned);
        r.bind(5, row.actual);
        r.bind(6, row.bottleId);
        r.bind(7, row.lot);
        if (r.step() != SQLITE_DONE) {
            fail("cannot record row " + std::to_string(row.row) + " of the session");
            return std::nullopt;
        }
        r.reset();
    }
    if (!t.commit()) {
        fail("cannot write the lab database");
        return std::nullopt;
    }
    return id;
}

namespace {

constexpr const char* kSessionColumns =
    "SELECT id, time, recipe, sample_tag, final_formula, final_grams, factor, as_weighed, fired_grams, "
    "before_grams, completeness_pct FROM sessions ";

Session readSession(const Statement& s) {
    Session out;
    out.id = s.integer(0);
    out.time = s.text(1);
    out.recipe = s.text(2);
    out.sampleTag = s.text(3);
    out.finalFormula = s.text(4);
    out.finalGrams = s.real(5);
    out.factor = s.real(6);
    if (!s.null(7)) out.asWeighed = s.text(7);
    out.firedGrams = s.optReal(8);
    out.beforeGrams = s.optReal(9);
    out.completenessPct = s.optReal(10);
    return out;
}

bool readRows(sqlite3* db, Session& session) {
    Statement s(
        db,
        "SELECT row, formula, planned, actual, bottle_id, lot FROM session_rows WHERE session_id = ?1 "
        "ORDER BY row");
    s.bind(1, session.id);
    int rc = 0;
    while ((rc = s.step()) == SQLITE_ROW) {
        SessionRow row;
        row.row = static_cast<int>(s.integer(0));
        row.formula = s.text(1);
        row.planned = s.real(2);
        row.actual = s.optReal(3);
        if (!s.null(4)) row.bottleId = s.integer(4);
        row.lot = s.text(5);
        session.rows.push_back(std::move(row));
    }
    return rc == SQLITE_DONE;
}

}  // namespace

std::optional<std::vector<Session>> LabDatabase::sessions(std::string_view search) {
    if (!db_) return std::nullopt;
    std::string sql = kSessionColumns;
    if (!search.empty())
        sql +=
            "WHERE sample_tag LIKE ?1 ESCAPE '\\' OR instr(final_formula, ?2) > 0 OR EXISTS (SELECT 1 FROM "
            "session_rows r WHERE r.session_id = sessions.id AND instr(r.formula, ?2) > 0) ";
    sql += "ORDER BY id DESC";
    // One read transaction, so the rows belong to the sessions listed.
    exec("BEGIN");
    std::vector<Session> out;
    bool ok = false;
    {
        Statement s(db_, sql.c_str());
        if (!search.empty()) {
            s.bind(1, likePattern(search));
            s.bind(2, search);
        }
        int rc = 0;
        while ((rc = s.step()) == SQLITE_ROW) out.push_back(readSession(s));
        ok = rc == SQLITE_DONE;
    }
    for (Session& session : out) ok = ok && readRows(db_, session);
    exec("COMMIT");
    if (!ok) {
        fail("cannot read the weighing sessions");
        return std::nullopt;
    }
    return out;
}

Found LabDatabase::session(std::int64_t id, Session& out) {
    if (!db_) return Found::Failed;
    exec("BEGIN");
    Found found = Found::Failed;
    {
        Statement s(db_, (std::string(kSessionColumns) + "WHERE id = ?1").c_str());
        s.bind(1, id);
        const int rc = s.step();
        if (rc == SQLITE_DONE) {
            found = Found::No;
        } else if (rc == SQLITE_ROW) {
            out = readSession(s);
            found = Found::Yes;
        }
    }
    if (found == Found::Yes && !readRows(db_, out)) found = Found::Failed;
    exec("COMMIT");
    if (found == Found::Failed) fail("cannot read session " + std::to_string(id));
    return found;
}

Found LabDatabase::setFiredMasses(std::int64_t id, std::optional<double> firedGrams,
                                  std::optional<double> beforeGrams, std::optional<double> completenessPct) {
    if (!db_) return Found::Failed;
    Statement s(
        db_, "UPDATE sessions SET fired_grams = ?1, before_grams = ?2, completeness_pct = ?3 WHERE id = ?4");
    s.bind(1, firedGrams);
    s.bind(2, beforeGrams);
    s.bind(3, completenessPct);
    s.bind(4, id);
    if (s.step() != SQLITE_DONE) {
        fail("cannot change session " + std::to_string(id));
        return Found::Failed;
    }
    return sqlite3_changes(db_) > 0 ? Found::Yes : Found::No;
}

}  // namespace qv::store
