#include "support/RawSqlite.h"

#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>

#include "settings/Catalogue.h"

namespace velmor::test {

RawSqlite::RawSqlite(const std::filesystem::path& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return;
    }
    sqlite3_busy_timeout(db_, 10000);
}

RawSqlite::~RawSqlite() {
    sqlite3_close_v2(db_);
}

bool RawSqlite::exec(std::string_view sql) {
    return db_ != nullptr &&
           sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<std::vector<std::string>> RawSqlite::column(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    if (db_ == nullptr || sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()),
                                             &statement, nullptr) != SQLITE_OK) {
        return std::nullopt;
    }
    std::vector<std::string> rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 0));
        const int size = sqlite3_column_bytes(statement, 0);
        rows.emplace_back(bytes == nullptr ? ""
                                           : std::string(bytes, static_cast<std::size_t>(size)));
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        return std::nullopt;
    }
    return rows;
}

bool RawSqlite::putRaw(std::string_view key, std::string_view name, std::string_view data,
                       bool asText) {
    sqlite3_stmt* statement = nullptr;
    if (db_ == nullptr ||
        sqlite3_prepare_v2(db_,
                           "INSERT OR REPLACE INTO reg_values(key, name, type, data)"
                           " VALUES(?1, ?2, 1, ?3)",
                           -1, &statement, nullptr) != SQLITE_OK) {
        return false;
    }
    sqlite3_bind_text(statement, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    if (asText) {
        sqlite3_bind_text(statement, 3, data.data(), static_cast<int>(data.size()),
                          SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_blob(statement, 3, data.data(), static_cast<int>(data.size()),
                          SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(statement);
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

std::string RawSqlite::lastError() const {
    return db_ == nullptr ? "no connection" : sqlite3_errmsg(db_);
}

std::vector<std::string> RawSqlite::storedCatalogue() {
    std::vector<std::string> seen(settings::kSettings.size(), "<absent>");
    const auto rows = column("SELECT key || '\\' || name || '=' || data FROM reg_values");
    for (const std::string& row : rows.value_or(std::vector<std::string>{})) {
        for (std::size_t i = 0; i < settings::kSettings.size(); ++i) {
            const settings::Setting& setting = settings::kSettings[i];
            const std::string prefix = std::string(settings::kHive) + std::string(setting.key) +
                                       "\\" + std::string(setting.name) + "=";
            if (row.starts_with(prefix)) {
                seen[i] = row.substr(prefix.size());
            }
        }
    }
    return seen;
}

std::vector<std::filesystem::path> damagedCopies(const std::filesystem::path& folder) {
    static const std::regex kAsideName(R"(registry\.db\.damaged-\d{8}-\d{6}(-\d+)?)");
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (std::regex_match(entry.path().filename().string(), kAsideName)) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace velmor::test
