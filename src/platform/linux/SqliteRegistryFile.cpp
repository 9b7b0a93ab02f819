#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <system_error>
#include <thread>

#include "platform/UniqueFd.h"
#include "platform/linux/SqliteRegistry.h"
#include "platform/linux/SqliteRegistryParts.h"

// Opening the store's file: what lies at its path is judged before anything is written to it,
// damaged files are set aside as found, and the file is switched to WAL mode.
namespace velmor::platform {
namespace {

// A save waits this long for another program to let go of the store, then gives up whole: a
// close never hangs on a store that someone else holds.
constexpr std::chrono::milliseconds kBusyTimeout{5000};

constexpr std::string_view kHeader{"SQLite format 3\0", 16};

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys (path TEXT PRIMARY KEY COLLATE NOCASE);"
    "CREATE TABLE IF NOT EXISTS reg_values (key TEXT NOT NULL COLLATE NOCASE,"
    " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY (key, name));";

std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

// What the file at the store's path holds, judged before anything is written to it.
SqliteRegistry::Found SqliteRegistry::inspectFile() {
    struct stat status {};
    if (::stat(file_.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return Found::Nothing;
        }
        setProblem(std::string("cannot be used: ") + std::strerror(errno));
        return Found::Unusable;
    }
    if (!S_ISREG(status.st_mode)) {
        setProblem("is not a regular file");
        return Found::Unusable;
    }
    if (status.st_size == 0) {
        return Found::Nothing;
    }
    // SQLite takes any file shorter than its header for an empty database and would write over
    // it; every file that does not begin with the header is someone's data and is kept aside.
    // (Read with the system's calls: a C++ stream would set up its locale machinery for 16 bytes.)
    const UniqueFd in(::open(file_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in) {
        setProblem("cannot be read");
        return Found::Unusable;
    }
    std::array<char, kHeader.size()> start{};
    std::size_t got = 0;
    while (got < start.size()) {
        const ssize_t n = ::read(in.get(), start.data() + got, start.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got == start.size() && std::string_view(start.data(), start.size()) == kHeader
               ? Found::Database
               : Found::Damaged;
}

// The tables of an existing database file, read without writing: ours, none yet, damaged, or
// another program's.
SqliteRegistry::Found SqliteRegistry::inspectTables() {
    sqlite3_stmt* statement = nullptr;
    int rc =
        sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view')",
                           -1, &statement, nullptr);
    bool keys = false;
    bool values = false;
    bool others = false;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            const std::string name = foldedName(text != nullptr ? text : "");
            keys = keys || name == "reg_keys";
            values = values || name == "reg_values";
            others = others ||
                     (name != "reg_keys" && name != "reg_values" && !name.starts_with("sqlite_"));
        }
    }
    sqlite3_finalize(statement);
    switch (classify(rc)) {
        case Outcome::Damaged:
            return Found::Damaged;
        case Outcome::Failed:
            setProblem(std::string("cannot be read: ") + sqlite3_errmsg(db_));
            return Found::Unusable;
        case Outcome::Ok:
            break;
    }
    if (others && !(keys && values)) {
        setProblem(
            "is another program's database (tables of its own, none of Velmor's); it is left as it "
            "is");
        return Found::Foreign;
    }
    return Found::Database;
}

// Two copies starting at once both find a store not yet in WAL mode; the switch needs the file
// to itself and SQLite does not wait for it, so it is tried again until the busy wait is over.
int SqliteRegistry::switchToWal() {
    const auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    for (;;) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &statement, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(statement);
            if (rc == SQLITE_ROW) {
                const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
                rc = mode != nullptr && foldedName(mode) == "wal" ? SQLITE_OK : SQLITE_BUSY;
            }
        }
        sqlite3_finalize(statement);
        const int primary = rc & 0xff;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() >= deadline) {
            return rc;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Whether the file is in WAL mode already (the usual case: nothing to switch, nothing written).
bool SqliteRegistry::inWalMode() {
    sqlite3_stmt* statement = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        wal = mode != nullptr && foldedName(mode) == "wal";
    }
    sqlite3_finalize(statement);
    return wal;
}

bool SqliteRegistry::open() {
    for (int attempt = 0; attempt < 2; ++attempt) {
        problem_.clear();
        Found found = inspectFile();
        if (found == Found::Unusable) {
            return false;
        }
        if (found == Found::Damaged) {
            if (attempt > 0) {
                setProblem("is damaged and could not be moved aside");
                return false;
            }
            moveDamagedFileAside();
            continue;
        }
        std::error_code error;
        if (file_.has_parent_path() && !std::filesystem::is_directory(file_.parent_path(), error)) {
            std::filesystem::create_directories(file_.parent_path(), error);
            if (error) {
                setProblem("cannot be made, nor its folder: " + error.message());
                return false;
            }
        }
        if (sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            setProblem(std::string("cannot be opened or created: ") +
                       (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory"));
            return false;
        }
        sqlite3_busy_timeout(db_, static_cast<int>(kBusyTimeout.count()));
        // SQLite's store of small blocks (120 KB, all of it written when it is set up) speeds up
        // heavy queries; a few dozen values read at start-up only pay for it in memory.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_LOOKASIDE, nullptr, 0, 0);
        int rc = SQLITE_OK;
        if (found == Found::Database) {
            found = inspectTables();
            if (found == Found::Foreign || found == Found::Unusable) {
                close();
                return false;
            }
            rc = found == Found::Damaged ? SQLITE_CORRUPT : SQLITE_OK;
        }
        // Statements are prepared before anything is written: one that does not fit the
        // tables found means the file is ours but damaged, and it is set aside as found.
        const bool tablesExist = found == Found::Database && rc == SQLITE_OK && hasOurTables();
        if (tablesExist) {
            rc = prepareStatements();
        }
        if (rc == SQLITE_OK && !inWalMode()) {
            // The first switch to WAL rewrites the header: check the whole file before it.
            rc = found == Found::Database ? quickCheck() : SQLITE_OK;
            if (rc == SQLITE_OK) {
                rc = switchToWal();
            }
        }
        if (rc == SQLITE_OK) {
            rc = sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        }
        if (rc == SQLITE_OK && !tablesExist) {
            rc = sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr);
            if (rc == SQLITE_OK) {
                rc = prepareStatements();
            }
        }
        const Outcome outcome = classify(rc);
        if (outcome == Outcome::Ok) {
            return true;
        }
        if (outcome != Outcome::Damaged || attempt > 0) {
            setProblem(std::string("cannot be used: ") + sqlite3_errmsg(db_));
            close();
            return false;
        }
        closeDamaged();
        moveDamagedFileAside();
    }
    return false;
}

bool SqliteRegistry::hasOurTables() {
    sqlite3_stmt* statement = nullptr;
    bool both = false;
    if (sqlite3_prepare_v2(db_,
                           "SELECT count(*) FROM sqlite_schema WHERE type = 'table'"
                           " AND name IN ('reg_keys', 'reg_values') COLLATE NOCASE",
                           -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        both = sqlite3_column_int(statement, 0) == 2;
    }
    sqlite3_finalize(statement);
    return both;
}

int SqliteRegistry::quickCheck() {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA quick_check(1)", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            rc = verdict != nullptr && std::string_view(verdict) == "ok" ? SQLITE_OK
                                                                         : SQLITE_CORRUPT;
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

int SqliteRegistry::prepareStatements() {
    auto prepare = [&](std::unique_ptr<Statement>& statement, const char* sql) {
        statement = std::make_unique<Statement>();
        const int result = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT,
                                              &statement->handle, nullptr);
        // A statement that does not fit the tables means the file holds something else.
        return result == SQLITE_ERROR ? SQLITE_CORRUPT : result;
    };
    int rc = prepare(insertKey_, "INSERT OR IGNORE INTO reg_keys(path) VALUES(?1)");
    if (rc == SQLITE_OK) {
        rc = prepare(selectKey_, "SELECT path FROM reg_keys WHERE path = ?1");
    }
    if (rc == SQLITE_OK) {
        rc = prepare(upsertValue_,
                     "INSERT INTO reg_values(key, name, type, data) VALUES(?1, ?2, 1, ?3)"
                     " ON CONFLICT(key, name) DO UPDATE SET type = 1, data = excluded.data"
                     " RETURNING rowid");
    }
    if (rc == SQLITE_OK) {
        rc = prepare(selectValue_,
                     "SELECT data, rowid FROM reg_values WHERE key = ?1 AND name = ?2");
    }
    if (rc == SQLITE_OK) {
        rc = prepare(updateRow_,
                     "UPDATE reg_values SET type = 1, data = ?3"
                     " WHERE rowid = ?4 AND key = ?1 AND name = ?2");
    }
    return rc;
}

void SqliteRegistry::close() {
    rows_.clear();
    keys_.clear();
    updateRow_.reset();
    insertKey_.reset();
    selectKey_.reset();
    upsertValue_.reset();
    selectValue_.reset();
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void SqliteRegistry::closeDamaged() {
    if (db_ != nullptr) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    close();
}

void SqliteRegistry::moveDamagedFileAside() {
    std::string aside = file_.string() + ".damaged-" + timeStamp();
    std::error_code error;
    for (int n = 2; std::filesystem::exists(aside, error); ++n) {
        aside = file_.string() + ".damaged-" + timeStamp() + "-" + std::to_string(n);
    }
    std::filesystem::rename(file_, aside, error);
    // The journal belongs to the damaged file; keep it beside it, and drop the shared-memory
    // index, which is rebuilt from nothing.
    std::filesystem::rename(file_.string() + "-wal", aside + "-wal", error);
    std::filesystem::remove(file_.string() + "-shm", error);
}

}  // namespace velmor::platform
