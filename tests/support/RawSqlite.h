#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QTemporaryDir>

struct sqlite3;

namespace velmor::test {

// A connection of its own to a store file, as another tool (or another copy of the program)
// would open it, for looking at what the store really wrote.
class RawSqlite {
  public:
    explicit RawSqlite(const std::filesystem::path& file);
    ~RawSqlite();
    RawSqlite(const RawSqlite&) = delete;
    RawSqlite& operator=(const RawSqlite&) = delete;

    bool ok() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }

    // Runs statements; false (with the error in lastError()) when one fails.
    bool exec(std::string_view sql);
    // The first column of every row, as bytes; nothing when the query fails.
    std::optional<std::vector<std::string>> column(std::string_view sql);
    // Stores a value as a foreign tool might: any bytes, as a blob or as a text.
    bool putRaw(std::string_view key, std::string_view name, std::string_view data, bool asText);
    std::string lastError() const;

    // The stored data of the 41 settings of the catalogue, in its order, as one query (one
    // snapshot) sees them; "<absent>" for a value not there.
    std::vector<std::string> storedCatalogue();

  private:
    sqlite3* db_ = nullptr;
};

// A fresh folder for one test, with the store's usual file name inside it.
struct TempStore {
    QTemporaryDir dir;
    std::filesystem::path folder() const { return dir.path().toStdString(); }
    std::filesystem::path file() const { return folder() / "registry.db"; }
};

// Files beside the store named like a damaged store moved aside ("registry.db.damaged-...").
std::vector<std::filesystem::path> damagedCopies(const std::filesystem::path& folder);

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace velmor::test
