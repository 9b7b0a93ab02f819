#include "platform/SqliteRegistry.h"

#include <sqlite3.h>

#include <pwd.h>
#include <unistd.h>

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <system_error>
#include <thread>
#include <vector>

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

// The key's parents and itself: "A\B\C" gives "A\B" and "A\B\C" (the hive exists by itself).
std::vector<std::string> keyAndParents(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    std::size_t components = 0;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        if (!part.empty()) {
            if (!current.empty()) {
                current += '\\';
            }
            current += part;
            if (++components >= 2) {
                parts.push_back(current);
            }
        }
        start = end + 1;
    }
    if (parts.empty() && !current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

// The user's home folder from the password database, for a session without HOME.
std::filesystem::path homeOfUser() {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && *found->pw_dir == '/') {
        return found->pw_dir;
    }
    return {};
}

// Relative names are made absolute: SQLite would read a name beginning with "file:" as a URI
// with options, and a store must not move with the working folder once opened.
std::filesystem::path absoluteName(std::filesystem::path file) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(file, error);
    return error ? file : absolute;
}

// A name as the store compares it: ASCII letters folded to lower case.
std::string folded(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return result;
}

// A value's name in the cache of row numbers: key and name folded as the store compares them.
std::string rowKey(std::string_view key, std::string_view name) {
    return folded(key) + '\0' + folded(name);
}

}  // namespace

// A prepared statement, reset after every use.
struct SqliteRegistry::Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
    void bind(int index, std::string_view text) const {
        sqlite3_bind_text(handle, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    void bindBlob(int index, std::string_view data) const {
        sqlite3_bind_blob(handle, index, data.data(), static_cast<int>(data.size()),
                          SQLITE_TRANSIENT);
    }
    int step() const { return sqlite3_step(handle); }
    void reset() const {
        sqlite3_reset(handle);
        sqlite3_clear_bindings(handle);
    }
};

SqliteRegistry::SqliteRegistry(std::filesystem::path file) : file_(absoluteName(std::move(file))) {
    if (!open()) {
        close();
    }
}

SqliteRegistry::~SqliteRegistry() {
    close();
}

std::filesystem::path SqliteRegistry::defaultPath() {
    if (const char* explicitPath = std::getenv("VELMOR_REGISTRY"); explicitPath && *explicitPath) {
        return explicitPath;
    }
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = std::filesystem::path(home) / ".config";
    } else if (const auto userHome = homeOfUser(); !userHome.empty()) {
        config = userHome / ".config";
    } else {
        config = ".config";
    }
    return config / "velmor" / "registry.db";
}

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
    std::ifstream in(file_, std::ios::binary);
    if (!in.is_open()) {
        setProblem("cannot be read");
        return Found::Unusable;
    }
    std::array<char, kHeader.size()> start{};
    const bool whole = static_cast<bool>(in.read(start.data(), std::ssize(start)));
    return whole && std::string_view(start.data(), start.size()) == kHeader ? Found::Database
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
            const std::string name = folded(text != nullptr ? text : "");
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
                rc = mode != nullptr && folded(mode) == "wal" ? SQLITE_OK : SQLITE_BUSY;
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
        wal = mode != nullptr && folded(mode) == "wal";
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

SqliteRegistry::Outcome SqliteRegistry::classify(int resultCode) const {
    switch (resultCode & 0xff) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            return Outcome::Ok;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return Outcome::Damaged;
        default:
            return Outcome::Failed;
    }
}

template <typename Step>
auto SqliteRegistry::withRecovery(Step step) -> decltype(step()) {
    if (db_ == nullptr) {
        return Outcome::Failed;
    }
    Outcome outcome = step();
    if (outcome == Outcome::Failed && batchDepth_ > 0) {
        failedInBatch_ = true;
        setProblem(std::string("did not take a value: ") + sqlite3_errmsg(db_));
    }
    if (outcome != Outcome::Damaged) {
        return outcome;
    }
    if (batchDepth_ > 0) {
        damagedInBatch_ = true;  // batch() starts afresh once the body has unwound
        return Outcome::Failed;
    }
    closeDamaged();
    moveDamagedFileAside();
    if (!open()) {
        close();
        return Outcome::Failed;
    }
    return step();
}

SqliteRegistry::Outcome SqliteRegistry::insertKey(std::string_view path) {
    insertKey_->bind(1, path);
    const int rc = insertKey_->step();
    insertKey_->reset();
    return classify(rc);
}

SqliteRegistry::Outcome SqliteRegistry::canonicalKey(std::string_view path, std::string& out) {
    selectKey_->bind(1, path);
    const int rc = selectKey_->step();
    if (rc == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(selectKey_->handle, 0);
        const int size = sqlite3_column_bytes(selectKey_->handle, 0);
        out.assign(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
    } else {
        out.clear();
    }
    selectKey_->reset();
    return classify(rc);
}

// A key, once opened, stays known: nothing deletes keys, and a save opens the same six keys
// every time.
std::optional<std::string> SqliteRegistry::createKey(std::string_view path) {
    std::string cacheKey = folded(path);
    if (const auto known = keys_.find(cacheKey); known != keys_.end()) {
        return known->second;
    }
    const std::vector<std::string> chain = keyAndParents(path);
    if (chain.empty()) {
        return std::nullopt;
    }
    std::string canonical;
    const Outcome outcome = withRecovery([&] {
        Outcome result = canonicalKey(chain.back(), canonical);
        if (result != Outcome::Ok || !canonical.empty()) {
            return result;
        }
        for (const std::string& key : chain) {
            result = insertKey(key);
            if (result != Outcome::Ok) {
                return result;
            }
        }
        return canonicalKey(chain.back(), canonical);
    });
    if (outcome != Outcome::Ok || canonical.empty()) {
        return std::nullopt;
    }
    keys_.emplace(std::move(cacheKey), canonical);
    return canonical;
}

// The row of a value is remembered once it has been read or written: rewriting it by its row
// number reaches it directly, while a search by name compares ever more names as other keys
// (the picture links) grow. Key and name are checked again, so a row that another program
// replaced meanwhile is never overwritten by mistake; the search by name then takes over.
SqliteRegistry::Outcome SqliteRegistry::upsertValue(std::string_view key, std::string_view name,
                                                    std::string_view data) {
    const std::string cacheKey = rowKey(key, name);
    if (const auto known = rows_.find(cacheKey); known != rows_.end()) {
        updateRow_->bind(1, key);
        updateRow_->bind(2, name);
        updateRow_->bindBlob(3, data);
        sqlite3_bind_int64(updateRow_->handle, 4, known->second);
        const int rc = updateRow_->step();
        updateRow_->reset();
        if (rc != SQLITE_DONE || sqlite3_changes(db_) == 1) {
            return classify(rc);
        }
        rows_.erase(known);
    }
    upsertValue_->bind(1, key);
    upsertValue_->bind(2, name);
    upsertValue_->bindBlob(3, data);
    int rc = upsertValue_->step();
    if (rc == SQLITE_ROW) {
        rows_[cacheKey] = sqlite3_column_int64(upsertValue_->handle, 0);
        rc = upsertValue_->step();
    }
    upsertValue_->reset();
    return classify(rc);
}

bool SqliteRegistry::setValue(std::string_view key, std::string_view name, std::string_view data) {
    return withRecovery([&] { return upsertValue(key, name, data); }) == Outcome::Ok;
}

SqliteRegistry::Outcome SqliteRegistry::selectValue(std::string_view key, std::string_view name,
                                                    std::optional<std::string>& out) {
    selectValue_->bind(1, key);
    selectValue_->bind(2, name);
    const int rc = selectValue_->step();
    out.reset();
    if (rc == SQLITE_ROW) {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(selectValue_->handle, 0));
        const int size = sqlite3_column_bytes(selectValue_->handle, 0);
        out.emplace(data == nullptr ? "" : std::string(data, static_cast<std::size_t>(size)));
        rows_[rowKey(key, name)] = sqlite3_column_int64(selectValue_->handle, 1);
    }
    selectValue_->reset();
    return classify(rc);
}

std::optional<std::string> SqliteRegistry::queryValue(std::string_view key, std::string_view name) {
    std::optional<std::string> value;
    if (withRecovery([&] { return selectValue(key, name, value); }) != Outcome::Ok) {
        return std::nullopt;
    }
    return value;
}

bool SqliteRegistry::batch(const std::function<void()>& body) {
    if (batchDepth_ > 0) {
        body();
        return true;
    }
    if (db_ == nullptr) {
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        damagedInBatch_ = false;
        failedInBatch_ = false;
        const int begin = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        const Outcome started = classify(begin);
        if (started == Outcome::Failed) {
            // Another program holds the store past the busy wait: nothing of this save is
            // written, rather than some of its values one by one.
            setProblem(std::string("is held by another program or cannot be written: ") +
                       sqlite3_errmsg(db_));
            return false;
        }
        if (started == Outcome::Damaged) {
            damagedInBatch_ = true;
        } else {
            ++batchDepth_;
            try {
                body();
            } catch (...) {
                // Left open, the transaction would swallow every later write of this copy.
                --batchDepth_;
                rollBack();
                throw;
            }
            --batchDepth_;
            // A save that ran into damage is not committed into the damaged file: it is made
            // again, whole, in the fresh store. One that failed otherwise is not made at all.
            if (damagedInBatch_ || failedInBatch_) {
                rollBack();
            } else if (const int end = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
                       end != SQLITE_OK) {
                damagedInBatch_ = classify(end) == Outcome::Damaged;
                failedInBatch_ = !damagedInBatch_;
                setProblem(std::string("did not take the save: ") + sqlite3_errmsg(db_));
                rollBack();
            }
        }
        if (!damagedInBatch_) {
            return !failedInBatch_;
        }
        if (attempt > 0) {
            return false;
        }
        closeDamaged();
        moveDamagedFileAside();
        if (!open()) {
            close();
            return false;
        }
    }
    return false;
}

void SqliteRegistry::setProblem(std::string_view what) {
    problem_ = "the settings store " + file_.string() + " ";
    problem_ += what;
}

void SqliteRegistry::rollBack() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    keys_.clear();  // keys made by the undone save are gone again
    rows_.clear();
}

}  // namespace velmor::platform
