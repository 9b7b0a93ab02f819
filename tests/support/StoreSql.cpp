#include "support/StoreSql.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace velmor::test {

std::vector<std::string> sqlRows(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::vector<std::string> out;
    int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 10000);
        rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    }
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 0));
            out.emplace_back(bytes ? std::string(bytes, sqlite3_column_bytes(statement, 0)) : "");
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return rc == SQLITE_DONE ? out : std::vector<std::string>{"<error " + std::to_string(rc) + ">"};
}

std::string storedText(const std::filesystem::path& file, const std::string& name) {
    const auto rows = sqlRows(file,
                              "SELECT CAST(substr(data, 1, length(data) - 1) AS TEXT) FROM "
                              "reg_values WHERE name = '" +
                                  name + "'");
    return rows.size() == 1 && !rows[0].starts_with("<error") ? rows[0] : "<absent>";
}

void setStoredText(const std::filesystem::path& file, const std::string& name,
                   const std::string& text) {
    const std::string update = "UPDATE reg_values SET data = CAST('" + text +
                               "' AS BLOB) || x'00' WHERE name = '" + name + "'";
    EXPECT_EQ(sqlRows(file, update + " RETURNING name"), std::vector<std::string>{name});
}

}  // namespace velmor::test
