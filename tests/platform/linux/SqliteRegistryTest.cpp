#include "platform/linux/SqliteRegistry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <QProcess>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <stdexcept>

#include "settings/Catalogue.h"
#include "settings/SettingsStore.h"
#include "support/Files.h"
#include "support/StoreSql.h"

namespace velmor::platform {
namespace {

using namespace std::string_literals;
using Rows = std::vector<std::string>;
using test::readFile;
using test::sqlRows;

constexpr std::string_view kSound = "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Sound";
constexpr std::string_view kLinks = "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links";

// A fresh folder for one test, with the store's usual file name inside it.
struct TempStore {
    test::TempFolder dir;
    std::filesystem::path folder() const { return dir.path; }
    std::filesystem::path file() const { return folder() / "registry.db"; }
    // The contents of the files set aside as damaged.
    Rows setAside() const {
        Rows aside;
        for (const auto& entry : std::filesystem::directory_iterator(folder())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("registry.db.damaged-") && !name.ends_with("-wal")) {
                aside.push_back(readFile(entry.path()));
            }
        }
        return aside;
    }
};

TEST(SqliteRegistryFormat, TheSchemaAndTheDataAreTheDocumentedOnes) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    EXPECT_EQ(
        sqlRows(temp.file(),
                "SELECT t.name || '.' || c.name || ' ' || c.type || ' ' || c.\"notnull\" || ' ' ||"
                " c.pk FROM sqlite_schema t, pragma_table_info(t.name) c"
                " WHERE t.type = 'table' ORDER BY t.name, c.cid"),
        (Rows{"reg_keys.path TEXT 0 1", "reg_values.key TEXT 1 1", "reg_values.name TEXT 1 2",
              "reg_values.type INTEGER 1 0", "reg_values.data BLOB 1 0"}));
    // The primary keys compare without regard to case.
    EXPECT_EQ(sqlRows(temp.file(),
                      "SELECT i.tbl_name || '.' || x.name || ' ' || x.coll FROM sqlite_schema i,"
                      " pragma_index_xinfo(i.name) x WHERE i.type = 'index' AND x.key"
                      " ORDER BY i.tbl_name, x.seqno"),
              (Rows{"reg_keys.path NOCASE", "reg_values.key NOCASE", "reg_values.name NOCASE"}));

    // A text is stored as its bytes and one NUL, of type 1.
    settings::SettingsStore store(registry);
    const auto key = store.openKey(settings::kSoundKey);
    store.writeText(key.value(), "Sound Rate", "3");
    store.writeText(key.value(), "Empty", "");
    EXPECT_EQ(
        sqlRows(temp.file(), "SELECT type || typeof(data) || data FROM reg_values ORDER BY name"),
        (Rows{"1blob\0"s, "1blob3\0"s}));
}

TEST(SqliteRegistryFormat, KeysComeWithTheirParentsAndNamesIgnoreCaseKeepingTheFirst) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    EXPECT_EQ(registry.createKey(kLinks), std::string(kLinks));
    EXPECT_EQ(registry.createKey("hkey_local_machine\\SOFTWARE\\velmor\\picture links"),
              std::string(kLinks));
    EXPECT_EQ(sqlRows(temp.file(), "SELECT path FROM reg_keys ORDER BY path"),
              (Rows{"HKEY_LOCAL_MACHINE\\Software", "HKEY_LOCAL_MACHINE\\Software\\Velmor",
                    std::string(kLinks)}));
    EXPECT_FALSE(registry.createKey(""));

    ASSERT_TRUE(registry.setValue(kSound, "Sound Rate", "1"));
    ASSERT_TRUE(
        registry.setValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMOR\\SOUND", "SOUND RATE", "2"));
    EXPECT_EQ(registry.queryValue("hkey_local_machine\\software\\velmor\\sound", "sound rate"),
              "2");
    EXPECT_EQ(sqlRows(temp.file(),
                      "SELECT key || '|' || name || '=' || data FROM reg_values"
                      " WHERE key = 'hkey_local_machine\\software\\velmor\\SOUND'"),
              Rows{std::string(kSound) + "|Sound Rate=2"});
}

// A value is rewritten in the row where it was last seen; a row that another program replaced
// meanwhile (even one that reused the row number for another value) is never overwritten.
TEST(SqliteRegistryFormat, RewritingAValueReplacedByAnotherProgramTouchesNothingElse) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    ASSERT_TRUE(registry.setValue(kSound, "Sound Rate", "1"));
    ASSERT_EQ(sqlRows(temp.file(), "UPDATE reg_values SET name = 'Sound Stereo', data = X'31'"),
              Rows{});
    ASSERT_TRUE(registry.setValue(kSound, "sound rate", "3"));
    EXPECT_EQ(registry.queryValue(kSound, "Sound Stereo"), "1");
    EXPECT_EQ(registry.queryValue(kSound, "Sound Rate"), "3");
    ASSERT_TRUE(registry.setValue(kSound, "Sound Stereo", "0"));
    EXPECT_EQ(sqlRows(temp.file(), "SELECT name || '=' || data FROM reg_values ORDER BY name"),
              (Rows{"sound rate=3", "Sound Stereo=0"}));
}

TEST(SqliteRegistryData, AnyBytesAndLargeTextsRoundTripExactlyAcrossReopening) {
    TempStore temp;
    const std::string odd = "\xff\xfe\x80 caf\xe9 \xc3(\x00 tail\0"s;
    const std::string large = test::noise(1 << 20, 7);  // with NUL bytes inside
    const std::string oddName = "R\xc3\xa9pertoire \xff";
    {
        SqliteRegistry registry(temp.file());
        ASSERT_TRUE(registry.setValue(kLinks, "Odd", odd));
        ASSERT_TRUE(registry.setValue(kLinks, "Large", large));
        ASSERT_TRUE(registry.setValue(kLinks, oddName, "x\xa0y"));
    }
    SqliteRegistry reopened(temp.file());
    EXPECT_EQ(reopened.queryValue(kLinks, "Odd"), odd);
    EXPECT_TRUE(reopened.queryValue(kLinks, "Large") == large);  // no 1 MB dump on failure
    EXPECT_EQ(reopened.queryValue(kLinks, oddName), "x\xa0y");
}

TEST(SqliteRegistryBatch, AnotherConnectionSeesASaveWholeOrNotAtAllAndAFailedOneNever) {
    TempStore temp;
    SqliteRegistry registry(temp.file());
    ASSERT_TRUE(registry.createKey(kSound));
    const std::string snapshot =
        "SELECT count(*) || ':' || group_concat(DISTINCT data) FROM reg_values";
    for (const auto& [data, before] : {std::pair{"a", ""}, std::pair{"b", "20:a"}}) {
        registry.batch([&] {
            for (int n = 0; n < 20; ++n) {
                ASSERT_TRUE(registry.setValue(kSound, "v" + std::to_string(n), data));
                ASSERT_EQ(sqlRows(temp.file(), snapshot), Rows{before}) << data << n;
            }
        });
        EXPECT_EQ(sqlRows(temp.file(), snapshot), Rows{"20:"s + data});
    }
    EXPECT_THROW(registry.batch([&] {
        registry.setValue(kSound, "v0", "c");
        registry.createKey(kLinks);  // undone with the save: opening it again makes it anew
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    ASSERT_TRUE(registry.createKey(kLinks));
    EXPECT_EQ(sqlRows(temp.file(),
                      "SELECT count(*) FROM reg_keys WHERE path = '" + std::string(kLinks) + "'"),
              Rows{"1"});
    // Later writes are neither swallowed by a transaction left open nor nested in one.
    ASSERT_TRUE(registry.setValue(kSound, "After", "d"));
    EXPECT_EQ(sqlRows(temp.file(), snapshot), Rows{"21:b,d"});
}

TEST(SqliteRegistryPath, ExplicitFileThenXdgConfigHomeThenHomeWithFoldersMadeOnDemand) {
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"VELMOR_REGISTRY", "XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    TempStore temp;
    setenv("HOME", (temp.folder() / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    setenv("VELMOR_REGISTRY", "/srv/store.db", 1);
    EXPECT_EQ(SqliteRegistry::defaultPath(), "/srv/store.db");
    setenv("VELMOR_REGISTRY", "", 1);  // set but empty counts as unset
    EXPECT_EQ(SqliteRegistry::defaultPath(), "/cfg/velmor/registry.db");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);  // only an absolute folder counts
    const auto file = temp.folder() / "home/.config/velmor/registry.db";
    EXPECT_EQ(SqliteRegistry::defaultPath(), file);

    SqliteRegistry registry(SqliteRegistry::defaultPath());
    EXPECT_TRUE(registry.createKey(kSound));
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    // A relative name that looks like an SQLite URI is still a file name, not a memory store.
    const auto working = std::filesystem::current_path();
    std::filesystem::current_path(temp.folder());
    EXPECT_TRUE(SqliteRegistry("file:x.db?mode=memory").createKey(kSound));
    EXPECT_TRUE(std::filesystem::is_regular_file(temp.folder() / "file:x.db?mode=memory"));
    std::filesystem::current_path(working);
    for (const auto& [name, value] : saved) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
}

// --- A damaged file is moved aside as found, and work goes on with a fresh store --------------

std::string linkName(int n) {
    return "Game" + std::to_string(n) + ".smc";
}

TEST(SqliteRegistryDamage, TheDamagedFileIsKeptIntactAndAFreshStoreWorks) {
    struct Case {
        const char* what;
        int links;              // of the store before the damage
        std::size_t keptBytes;  // plus keptFifths of the file; the rest is damaged
        int keptFifths;
        bool truncated;     // else overwritten with garbage
        bool foundInASave;  // else found while reading
    };
    for (const Case& c : {Case{"not a database", 200, 0, 0, false, false},
                          Case{"a valid header over garbage", 200, 100, 0, false, false},
                          Case{"garbage pages at the end", 3000, 0, 2, false, false},
                          Case{"truncated", 3000, 0, 2, true, false},
                          Case{"truncated, found in a save", 3000, 0, 3, true, true}}) {
        SCOPED_TRACE(c.what);
        TempStore temp;
        {
            SqliteRegistry registry(temp.file());
            registry.batch([&] {
                for (int n = 0; n < c.links; ++n) {
                    registry.setValue(kLinks, linkName(n), "/home/someone/shots/" + linkName(n));
                }
            });
        }
        std::string bytes = readFile(temp.file());
        const std::size_t kept = c.keptBytes + bytes.size() * c.keptFifths / 5;
        bytes.replace(kept, bytes.npos, c.truncated ? "" : test::noise(bytes.size() - kept, 2));
        test::writeFile(temp.file(), bytes);

        SqliteRegistry registry(temp.file());
        if (!c.foundInASave) {
            // A write that lands before the damage shows must not be folded into the damaged file.
            registry.createKey("HKEY_LOCAL_MACHINE\\Software\\Velmor\\Input");
            for (int n = 0; n < c.links; ++n) {
                registry.queryValue(kLinks, linkName(n));
            }
        }
        registry.batch([&] {
            for (int n = 0; n < c.links; n += 50) {
                registry.setValue(kLinks, linkName(n), "new");
            }
        });
        // The whole save is in the fresh store, not only the part after the damage showed.
        EXPECT_EQ(sqlRows(temp.file(), "SELECT count(*) FROM reg_values"),
                  Rows{std::to_string(c.links / 50)});

        EXPECT_TRUE(temp.setAside() == Rows{bytes}) << "no dump of the files on failure";
    }
}

// A store as the sqlite3 tool leaves it: our tables, in rollback-journal mode.
void makeRollbackStore(const std::filesystem::path& file, const char* tables) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db, tables, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    ASSERT_EQ(sqlRows(file, "PRAGMA journal_mode"), Rows{"delete"});
}

constexpr const char* kOurTables =
    "CREATE TABLE reg_keys (path TEXT PRIMARY KEY COLLATE NOCASE);"
    "CREATE TABLE reg_values (key TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (key, name));"
    "INSERT INTO reg_values VALUES ('HKEY_LOCAL_MACHINE\\Software\\Velmor', 'Last Game', 1, 'a');";

// Whatever lies at the store's path, nothing is changed that is not ours: files that are not
// databases are kept aside byte for byte, another program's database and what is not a regular
// file are left alone (the store is then unusable and says why).
TEST(SqliteRegistryOddFiles, NothingButOurOwnStoreIsEverWritten) {
    enum class Expect { Fresh, Aside, Refused };
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        Expect expect;
        const char* problem;
    };
    auto bytes = [](std::string content) {
        return [content](const std::filesystem::path& file) { test::writeFile(file, content); };
    };
    const Case cases[] = {
        {"an empty file", bytes(""), Expect::Fresh, ""},
        {"one byte", bytes("x"), Expect::Aside, ""},
        {"one NUL byte", bytes("\0"s), Expect::Aside, ""},
        {"a header and nothing more", bytes("SQLite format 3\0"s), Expect::Aside, ""},
        {"our tables in rollback mode", [](auto& f) { makeRollbackStore(f, kOurTables); },
         Expect::Fresh, ""},
        {"an odd reg_values",
         [](auto& f) {
             makeRollbackStore(f,
                               "CREATE TABLE reg_keys (path TEXT PRIMARY KEY);"
                               "CREATE TABLE reg_values (key TEXT, data BLOB);"
                               "INSERT INTO reg_values VALUES ('k', 'd');");
         },
         Expect::Aside, ""},
        {"another program's database",
         [](auto& f) {
             makeRollbackStore(f,
                               "CREATE TABLE people (name TEXT); INSERT INTO people "
                               "VALUES ('Ann');");
         },
         Expect::Refused, "another program's database"},
        {"a folder", [](auto& f) { std::filesystem::create_directory(f); }, Expect::Refused,
         "not a regular file"},
        {"a named pipe", [](auto& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }, Expect::Refused,
         "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempStore temp;
        c.make(temp.file());
        const bool regular = std::filesystem::is_regular_file(temp.file());
        const std::string before = regular ? readFile(temp.file()) : "";
        {
            SqliteRegistry registry(temp.file());
            EXPECT_EQ(registry.usable(), c.expect != Expect::Refused);
            EXPECT_NE(registry.problem().find(c.problem), std::string::npos) << registry.problem();
            EXPECT_EQ(registry.setValue(kSound, "Sound Rate", "1"), c.expect != Expect::Refused);
        }
        EXPECT_TRUE(temp.setAside() == (c.expect == Expect::Aside ? Rows{before} : Rows{}));
        if (c.expect == Expect::Fresh) {
            EXPECT_EQ(sqlRows(temp.file(), "SELECT count(*) FROM reg_values"),
                      Rows{before.empty() ? "1" : "2"});
        } else if (c.expect == Expect::Refused) {
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.folder()), {}), 1)
                << "no journal, no WAL, nothing set aside";
            EXPECT_TRUE(!regular || readFile(temp.file()) == before);
        }
    }
    // Devices: nothing is made beside them (no "/dev/null-journal").
    for (const char* device : {"/dev/null", "/dev/zero"}) {
        SqliteRegistry registry(device);
        EXPECT_FALSE(registry.usable());
        EXPECT_FALSE(std::filesystem::exists(std::string(device) + "-journal"));
        EXPECT_FALSE(std::filesystem::exists(std::string(device) + "-wal"));
    }
}

// Two copies started at the same moment on a store that is not yet in WAL mode: each switches
// it or finds it switched, and neither runs without its store.
TEST(SqliteRegistryConcurrency, TwoCopiesOpeningARollbackStoreTogetherBothGetIt) {
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        TempStore temp;
        makeRollbackStore(temp.file(), kOurTables);
        std::array<QProcess, 2> copies;
        for (int copy = 0; copy < 2; ++copy) {
            copies[copy].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            copies[copy].start(VELMOR_STORE_WRITER, {QString::fromStdString(temp.file().string()),
                                                     QString::number(copy + 1), "1"});
        }
        for (QProcess& copy : copies) {
            ASSERT_TRUE(copy.waitForFinished(60000));
            EXPECT_EQ(copy.exitCode(), 0);
        }
        EXPECT_EQ(sqlRows(temp.file(), "SELECT count(*) FROM reg_values WHERE name GLOB 'copy*'"),
                  Rows{"2"});
    }
}

// Two running copies of the program saving into one store at once, played by store_writer.
TEST(SqliteRegistryConcurrency, TwoCopiesSavingAtOnceNeverMixTheirSavesNorLoseOne) {
    constexpr int kSaves = 1000;
    TempStore temp;
    ASSERT_TRUE(SqliteRegistry(temp.file()).createKey("HKEY_LOCAL_MACHINE\\Software"));
    std::array<QProcess, 2> writers;  // killed, if still running, when the test ends
    for (int copy = 0; copy < 2; ++copy) {
        writers[copy].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writers[copy].start(VELMOR_STORE_WRITER,
                            {QString::fromStdString(temp.file().string()),
                             QString::number(copy + 1), QString::number(kSaves)});
    }
    // Every snapshot holds no save yet, or the 20 values of one save.
    const std::string snapshot =
        "SELECT count(*) || ' ' || count(DISTINCT data) FROM reg_values WHERE name GLOB 'v*'";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(4);
    int wholeSaves = 0;
    while (std::chrono::steady_clock::now() < deadline &&
           std::ranges::any_of(writers, [](QProcess& writer) {
               return !writer.waitForFinished(1) && writer.state() != QProcess::NotRunning;
           })) {
        const Rows seen = sqlRows(temp.file(), snapshot);
        ASSERT_TRUE(seen == Rows{"0 0"} || seen == Rows{"20 1"}) << seen.front();
        wholeSaves += seen == Rows{"20 1"} ? 1 : 0;
    }
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.state() == QProcess::NotRunning || writer.waitForFinished(60000));
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0);
    }
    EXPECT_GT(wholeSaves, 0);
    EXPECT_EQ(sqlRows(temp.file(), snapshot), Rows{"20 1"});
    // The save committed last is the last of one copy, and every save of both is there.
    const Rows last = sqlRows(temp.file(), "SELECT data FROM reg_values WHERE name = 'v0'");
    EXPECT_TRUE(last == Rows{"copy1-pass999"} || last == Rows{"copy2-pass999"})
        << testing::PrintToString(last);
    EXPECT_EQ(sqlRows(temp.file(), "SELECT count(*) FROM reg_values WHERE name GLOB 'copy*'"),
              Rows{std::to_string(2 * kSaves)});
}

}  // namespace
}  // namespace velmor::platform
