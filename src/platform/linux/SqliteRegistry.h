#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velmor::platform {

// The key tree kept in one SQLite file. A file that turns out not to be a database, or to be
// damaged, is moved aside under a time-stamped name and a fresh store is started in its place;
// nothing is written to a file before it is known to be ours. Another program's database, a
// path that is not a regular file, and a file that cannot be opened or created leave the store
// unusable: every operation then fails quietly and problem() says why.
class SqliteRegistry final : public Registry {
  public:
    explicit SqliteRegistry(std::filesystem::path file);
    ~SqliteRegistry() override;
    SqliteRegistry(const SqliteRegistry&) = delete;
    SqliteRegistry& operator=(const SqliteRegistry&) = delete;

    // The store's file: $VELMOR_REGISTRY, else $XDG_CONFIG_HOME/velmor/registry.db, else
    // ~/.config/velmor/registry.db.
    static std::filesystem::path defaultPath();

    bool usable() const { return db_ != nullptr; }
    // Why the store is unusable, or why the last save was not made.
    std::string problem() const override { return problem_; }
    const std::filesystem::path& file() const { return file_; }

    std::optional<std::string> createKey(std::string_view path) override;
    bool setValue(std::string_view key, std::string_view name, std::string_view data) override;
    std::optional<std::string> queryValue(std::string_view key, std::string_view name) override;
    bool batch(const std::function<void()>& body) override;

  private:
    struct Statement;
    enum class Outcome { Ok, Failed, Damaged };
    // What the store's path holds: nothing yet (or an empty file), a database, something
    // damaged or not a database, another program's database, or nothing usable at all.
    enum class Found { Nothing, Database, Damaged, Foreign, Unusable };

    bool open();
    Found inspectFile();
    Found inspectTables();
    bool hasOurTables();
    bool inWalMode();
    int switchToWal();
    int quickCheck();
    int prepareStatements();
    void rollBack();
    void setProblem(std::string_view what);
    void close();
    // Closes without folding the journal into the file, which is about to be moved aside as
    // found: its journal goes with it.
    void closeDamaged();
    void moveDamagedFileAside();
    // Runs `step` once, and once more on a fresh store when the first run found the file damaged.
    template <typename Step>
    auto withRecovery(Step step) -> decltype(step());
    Outcome classify(int resultCode) const;

    Outcome insertKey(std::string_view path);
    Outcome canonicalKey(std::string_view path, std::string& out);
    Outcome upsertValue(std::string_view key, std::string_view name, std::string_view data);
    Outcome selectValue(std::string_view key, std::string_view name,
                        std::optional<std::string>& out);

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<Statement> insertKey_;
    std::unique_ptr<Statement> selectKey_;
    std::unique_ptr<Statement> upsertValue_;
    std::unique_ptr<Statement> selectValue_;
    std::unique_ptr<Statement> updateRow_;
    // Row numbers of values already read or written, by folded key and name.
    std::unordered_map<std::string, std::int64_t> rows_;
    // Keys already opened, by folded path, with the name the store keeps for them.
    std::unordered_map<std::string, std::string> keys_;
    int batchDepth_ = 0;
    bool damagedInBatch_ = false;
    bool failedInBatch_ = false;
    std::string problem_;
};

}  // namespace velmor::platform
