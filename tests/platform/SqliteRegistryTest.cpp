#include "platform/SqliteRegistry.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <stdexcept>

#include "settings/Catalogue.h"
#include "settings/FrontEndSettings.h"
#include "settings/SettingsStore.h"
#include "settings/ValueKinds.h"
#include "support/RawSqlite.h"
#include "support/StampHolders.h"

namespace velmor::platform {
namespace {

using test::RawSqlite;
using test::TempStore;

constexpr std::string_view kSound = "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Sound";

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(generator));
    }
    return bytes;
}

// --- The file's format, as other tools see it -------------------------------------------------

struct ColumnFacts {
    std::string type;
    std::string collation;
    bool notNull = false;
    bool primaryKey = false;
};

ColumnFacts columnFacts(sqlite3* db, const char* table, const char* column) {
    const char* type = nullptr;
    const char* collation = nullptr;
    int notNull = 0;
    int primaryKey = 0;
    int autoIncrement = 0;
    ColumnFacts facts;
    if (sqlite3_table_column_metadata(db, nullptr, table, column, &type, &collation, &notNull,
                                      &primaryKey, &autoIncrement) == SQLITE_OK) {
        facts = {type ? type : "", collation ? collation : "", notNull != 0, primaryKey != 0};
    }
    return facts;
}

TEST(SqliteRegistryFormat, TablesColumnsAndCollationsAreTheDocumentedOnes) {
    TempStore temp;
    { SqliteRegistry registry(temp.file()); }
    RawSqlite raw(temp.file());
    ASSERT_TRUE(raw.ok());

    EXPECT_EQ(raw.column("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name"),
              (std::vector<std::string>{"reg_keys", "reg_values"}));
    EXPECT_EQ(raw.column("SELECT name FROM pragma_table_info('reg_keys') ORDER BY cid"),
              (std::vector<std::string>{"path"}));
    EXPECT_EQ(raw.column("SELECT name FROM pragma_table_info('reg_values') ORDER BY cid"),
              (std::vector<std::string>{"key", "name", "type", "data"}));
    // The value table's primary key is (key, name) in that order.
    EXPECT_EQ(raw.column("SELECT name FROM pragma_table_info('reg_values') WHERE pk > 0"
                         " ORDER BY pk"),
              (std::vector<std::string>{"key", "name"}));

    const ColumnFacts path = columnFacts(raw.handle(), "reg_keys", "path");
    EXPECT_EQ(path.type, "TEXT");
    EXPECT_EQ(path.collation, "NOCASE");
    EXPECT_TRUE(path.primaryKey);
    for (const char* name : {"key", "name"}) {
        const ColumnFacts facts = columnFacts(raw.handle(), "reg_values", name);
        EXPECT_EQ(facts.type, "TEXT") << name;
        EXPECT_EQ(facts.collation, "NOCASE") << name;
        EXPECT_TRUE(facts.notNull) << name;
        EXPECT_TRUE(facts.primaryKey) << name;
    }
    const ColumnFacts type = columnFacts(raw.handle(), "reg_values", "type");
    EXPECT_EQ(type.type, "INTEGER");
    EXPECT_TRUE(type.notNull);
    EXPECT_FALSE(type.primaryKey);
    const ColumnFacts data = columnFacts(raw.handle(), "reg_values", "data");
    EXPECT_EQ(data.type, "BLOB");
    EXPECT_TRUE(data.notNull);

    EXPECT_EQ(raw.column("PRAGMA journal_mode"), (std::vector<std::string>{"wal"}));
}

TEST(SqliteRegistryFormat, TextIsStoredAsItsBytesAndOneNulOfTypeOne) {
    TempStore temp;
    {
        SqliteRegistry registry(temp.file());
        settings::SettingsStore store(registry);
        const auto key = store.openKey(settings::kSoundKey);
        ASSERT_TRUE(key);
        store.writeText(*key, "Sound Rate", "3");
        store.writeText(*key, "Empty", "");
    }
    RawSqlite raw(temp.file());
    EXPECT_EQ(raw.column("SELECT key || '|' || name || '|' || type || '|' || typeof(data)"
                         " FROM reg_values ORDER BY name"),
              (std::vector<std::string>{std::string(kSound) + "|Empty|1|blob",
                                        std::string(kSound) + "|Sound Rate|1|blob"}));
    EXPECT_EQ(raw.column("SELECT data FROM reg_values ORDER BY name"),
              (std::vector<std::string>{std::string(1, '\0'), std::string("3\0", 2)}));
}

TEST(SqliteRegistryFormat, CreatingAKeyCreatesItsMissingParents) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    EXPECT_EQ(registry.createKey("HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links"),
              "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links");
    RawSqlite raw(temp.file());
    EXPECT_EQ(raw.column("SELECT path FROM reg_keys ORDER BY path"),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software",
                                        "HKEY_LOCAL_MACHINE\\Software\\Velmor",
                                        "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links"}));
    EXPECT_FALSE(registry.createKey(""));
}

TEST(SqliteRegistryFormat, NamesIgnoreLetterCaseAndKeepTheCaseFirstWritten) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    ASSERT_EQ(registry.createKey(kSound), std::string(kSound));
    EXPECT_EQ(registry.createKey("hkey_local_machine\\SOFTWARE\\velmor\\sound"),
              std::string(kSound));

    ASSERT_TRUE(registry.setValue(kSound, "Sound Rate", std::string("1\0", 2)));
    ASSERT_TRUE(registry.setValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMOR\\SOUND", "SOUND RATE",
                                  std::string("2\0", 2)));
    EXPECT_EQ(registry.queryValue("hkey_local_machine\\software\\velmor\\sound", "sound rate"),
              std::string("2\0", 2));

    RawSqlite raw(temp.file());
    EXPECT_EQ(raw.column("SELECT key || '|' || name FROM reg_values"),
              (std::vector<std::string>{std::string(kSound) + "|Sound Rate"}));
    EXPECT_EQ(raw.column("SELECT count(*) FROM reg_keys"), (std::vector<std::string>{"3"}));
}

// A value is rewritten in the row where it was last seen; a row that another program replaced
// meanwhile (even one that reused the row number for another value) is never overwritten.
TEST(SqliteRegistryFormat, RewritingAValueReplacedByAnotherProgramTouchesNothingElse) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    ASSERT_TRUE(registry.createKey(kSound));
    ASSERT_TRUE(registry.setValue(kSound, "Sound Rate", std::string("1\0", 2)));
    {
        RawSqlite raw(temp.file());
        ASSERT_TRUE(raw.exec("DELETE FROM reg_values WHERE name = 'Sound Rate'"));
        ASSERT_TRUE(raw.putRaw(kSound, "Sound Stereo", std::string("1\0", 2), false));
    }
    ASSERT_TRUE(registry.setValue(kSound, "sound rate", std::string("3\0", 2)));
    EXPECT_EQ(registry.queryValue(kSound, "Sound Stereo"), std::string("1\0", 2));
    EXPECT_EQ(registry.queryValue(kSound, "Sound Rate"), std::string("3\0", 2));
    ASSERT_TRUE(registry.setValue(kSound, "Sound Stereo", std::string("0\0", 2)));
    RawSqlite raw(temp.file());
    EXPECT_EQ(raw.column("SELECT name || '=' || CAST(substr(data, 1, length(data) - 1) AS TEXT)"
                         " FROM reg_values ORDER BY name"),
              (std::vector<std::string>{"sound rate=3", "Sound Stereo=0"}));
}

// --- What reading gives back ------------------------------------------------------------------

TEST(SqliteRegistryData, ReadRuleDropsTheLastStoredByteAndTreatsShortValuesAsAbsent) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    settings::SettingsStore store(registry);
    const auto key = store.openKey(settings::kPathsKey);
    ASSERT_TRUE(key);
    {
        RawSqlite other(temp.file());
        ASSERT_TRUE(other.putRaw(*key, "Foreign Blob", "C:\\games", false));
        ASSERT_TRUE(other.putRaw(*key, "Foreign Text", "/roms", true));
        ASSERT_TRUE(other.putRaw(*key, "One Byte", "x", false));
        ASSERT_TRUE(other.putRaw(*key, "Nothing", "", false));
    }
    EXPECT_EQ(store.readText(*key, "Foreign Blob"), "C:\\game");
    EXPECT_EQ(store.readText(*key, "Foreign Text"), "/rom");
    EXPECT_EQ(store.readText(*key, "One Byte"), std::nullopt);
    EXPECT_EQ(store.readText(*key, "Nothing"), std::nullopt);
    EXPECT_EQ(store.readText(*key, "Never Written"), std::nullopt);

    store.writeText(*key, "Empty", "");
    EXPECT_EQ(store.readText(*key, "Empty"), std::nullopt);
}

TEST(SqliteRegistryData, AnyBytesAndLargeTextsRoundTripExactlyAcrossReopening) {
    TempStore temp;
    const std::string notUtf8 = "\xff\xfe\x80 caf\xe9 \xc3(\x00 tail";
    const std::string large = randomBytes(1 << 20, 7);  // NUL bytes inside included
    const std::string nonAsciiName = "R\xc3\xa9pertoire \xff";
    {
        SqliteRegistry registry(temp.file());
        settings::SettingsStore store(registry);
        const auto key = store.openKey(settings::kPictureLinksKey);
        ASSERT_TRUE(key);
        store.writeText(*key, "Odd Bytes", notUtf8);
        store.writeText(*key, "Large", large);
        store.writeText(*key, nonAsciiName, "x\xa0y");
        EXPECT_TRUE(store.readText(*key, "Large") == large);  // no 1 MB dump on failure
    }
    SqliteRegistry reopened(temp.file());
    settings::SettingsStore store(reopened);
    const auto key = store.openKey(settings::kPictureLinksKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(store.readText(*key, "Odd Bytes"), notUtf8);
    EXPECT_TRUE(store.readText(*key, "Large") == large);  // no 1 MB dump on failure
    EXPECT_EQ(store.readText(*key, nonAsciiName), "x\xa0y");
}

// --- One save, one unit -----------------------------------------------------------------------

TEST(SqliteRegistryBatch, AnotherConnectionSeesASaveWholeOrNotAtAll) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    settings::SettingsStore store(registry);
    settings::saveGUISettings(store, test::StampHolders(1, 0));
    RawSqlite observer(temp.file());
    ASSERT_EQ(observer.storedCatalogue(), test::storedTextsOfPass(1, 0));

    const std::vector<std::string> next = test::storedTextsOfPass(1, 1);
    int writes = 0;
    store.batch([&] {
        for (std::size_t i = 0; i < settings::kSettings.size(); ++i) {
            const settings::Setting& setting = settings::kSettings[i];
            const auto key = store.openKey(setting.key);
            ASSERT_TRUE(key);
            store.writeText(*key, setting.name, next[i].substr(0, next[i].size() - 1));
            ++writes;
            // Nothing of the unfinished save shows, and reading does not wait for the writer.
            ASSERT_EQ(observer.storedCatalogue(), test::storedTextsOfPass(1, 0))
                << "after " << writes;
        }
    });
    EXPECT_EQ(writes, 41);
    EXPECT_EQ(observer.storedCatalogue(), next);
}

TEST(SqliteRegistryBatch, ANestedBatchCommitsWithTheOuterOne) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    ASSERT_TRUE(registry.createKey(kSound));
    RawSqlite observer(temp.file());
    registry.batch([&] {
        registry.batch([&] { registry.setValue(kSound, "Inner", "1"); });
        EXPECT_EQ(observer.column("SELECT count(*) FROM reg_values"),
                  (std::vector<std::string>{"0"}));
        registry.setValue(kSound, "Outer", "1");
    });
    EXPECT_EQ(observer.column("SELECT count(*) FROM reg_values"), (std::vector<std::string>{"2"}));
}

TEST(SqliteRegistryBatch, ABodyThatThrowsLeavesNothingBehindAndTheStoreWorking) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    ASSERT_TRUE(registry.createKey(kSound));
    EXPECT_THROW(registry.batch([&] {
        registry.setValue(kSound, "Half", "1");
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);

    // Later writes are neither swallowed by a transaction left open nor nested in one.
    ASSERT_TRUE(registry.setValue(kSound, "After", "1"));
    registry.batch([&] { registry.setValue(kSound, "Batched", "1"); });
    RawSqlite observer(temp.file());
    EXPECT_EQ(observer.column("SELECT name FROM reg_values ORDER BY name"),
              (std::vector<std::string>{"After", "Batched"}));
}

// --- Where the file lives ---------------------------------------------------------------------

// Sets or clears an environment variable for one test and puts the old state back.
class EnvOverride {
  public:
    explicit EnvOverride(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) {
            saved_ = value;
        }
    }
    ~EnvOverride() {
        if (saved_) {
            setenv(name_, saved_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;
    void set(const char* value) const { setenv(name_, value, 1); }
    void clear() const { unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(SqliteRegistryPath, ExplicitFileThenXdgConfigHomeThenHome) {
    EnvOverride explicitFile("VELMOR_REGISTRY");
    EnvOverride xdg("XDG_CONFIG_HOME");
    EnvOverride home("HOME");
    home.set("/home/someone");

    explicitFile.set("/srv/velmor/store.db");
    xdg.set("/cfg");
    EXPECT_EQ(SqliteRegistry::defaultPath(), "/srv/velmor/store.db");

    explicitFile.set("");  // set but empty counts as unset
    EXPECT_EQ(SqliteRegistry::defaultPath(), "/cfg/velmor/registry.db");

    explicitFile.clear();
    xdg.set("relative/cfg");  // not an absolute path: to be ignored
    EXPECT_EQ(SqliteRegistry::defaultPath(), "/home/someone/.config/velmor/registry.db");
    xdg.clear();
    EXPECT_EQ(SqliteRegistry::defaultPath(), "/home/someone/.config/velmor/registry.db");
}

TEST(SqliteRegistryPath, WithoutHomeTheUsersHomeFolderIsUsedNotTheWorkingFolder) {
    EnvOverride explicitFile("VELMOR_REGISTRY");
    EnvOverride xdg("XDG_CONFIG_HOME");
    EnvOverride home("HOME");
    explicitFile.clear();
    xdg.clear();
    home.clear();
    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(SqliteRegistry::defaultPath(),
              std::filesystem::path(user->pw_dir) / ".config/velmor/registry.db");
}

TEST(SqliteRegistryPath, TheFoldersAreCreatedOnDemand) {
    TempStore temp;
    const auto file = temp.folder() / "a" / "b" / "registry.db";
    SqliteRegistry registry(file);
    EXPECT_TRUE(registry.usable());
    EXPECT_TRUE(registry.createKey(kSound));
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
}

TEST(SqliteRegistryPath, ARelativeNameIsAFileNameNeverAnSqliteUri) {
    TempStore temp;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(temp.folder());
    {
        SqliteRegistry registry("file:store.db?mode=memory");
        EXPECT_TRUE(registry.createKey(kSound));
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::is_regular_file(temp.folder() / "file:store.db?mode=memory"));
}

}  // namespace
}  // namespace velmor::platform
