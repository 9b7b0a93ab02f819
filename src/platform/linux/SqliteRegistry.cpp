#include "platform/linux/SqliteRegistry.h"

#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/linux/SqliteRegistryParts.h"

namespace velmor::platform {
namespace {

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

// A value's name in the cache of row numbers: key and name folded as the store compares them.
std::string rowKey(std::string_view key, std::string_view name) {
    return foldedName(key) + '\0' + foldedName(name);
}

}  // namespace

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
    std::string cacheKey = foldedName(path);
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
