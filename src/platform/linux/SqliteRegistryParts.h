#pragma once

// What the two halves of the store share: opening and recognising the file
// (SqliteRegistryFile.cpp), and reading and writing the key tree (SqliteRegistry.cpp).

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "platform/WindowsNames.h"
#include "platform/linux/SqliteRegistry.h"

namespace velmor::platform {

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

}  // namespace velmor::platform
