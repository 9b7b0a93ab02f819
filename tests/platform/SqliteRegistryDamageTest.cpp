#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "platform/SqliteRegistry.h"
#include "settings/Catalogue.h"
#include "settings/SettingsStore.h"
#include "support/RawSqlite.h"

namespace velmor::platform {
namespace {

using test::damagedCopies;
using test::readFile;
using test::TempStore;
using test::writeFile;

constexpr std::string_view kLinks = "HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links";
constexpr std::size_t kPageSize = 4096;

std::string garbage(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(generator));
    }
    return bytes;
}

// Byte-for-byte equality, reported by size and first difference rather than by dumping both.
testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return testing::AssertionSuccess();
    }
    const auto [differs, unused] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at " << (differs - actual.begin());
}

std::string linkName(int n) {
    return "Game" + std::to_string(n) + ".smc";
}

// A real store with enough picture links to fill many pages, closed (so its journal has been
// folded back into the file).
void fillStore(const std::filesystem::path& file, int links) {
    SqliteRegistry registry(file);
    ASSERT_TRUE(registry.createKey(kLinks));
    registry.batch([&] {
        for (int n = 0; n < links; ++n) {
            registry.setValue(kLinks, linkName(n), "/home/someone/shots/" + linkName(n) + ".png");
        }
    });
}

// The store works normally: a value written is read back, and survives reopening.
void expectWorkingStore(SqliteRegistry& registry) {
    ASSERT_TRUE(registry.usable());
    const auto key = registry.createKey(kLinks);
    ASSERT_TRUE(key);
    ASSERT_TRUE(registry.setValue(*key, "Fresh", std::string("yes\0", 4)));
    EXPECT_EQ(registry.queryValue(*key, "fresh"), std::string("yes\0", 4));
}

// Touches every link the way start-up and the picture tab would.
void readAllLinks(SqliteRegistry& registry, int links) {
    for (int n = 0; n < links; ++n) {
        registry.queryValue(kLinks, linkName(n));
    }
}

TEST(SqliteRegistryDamage, AFileThatIsNoDatabaseIsMovedAsideIntact) {
    TempStore temp;
    const std::string bytes = "not a database, just a note\n" + garbage(5000, 1);
    writeFile(temp.file(), bytes);

    SqliteRegistry registry(temp.file());
    expectWorkingStore(registry);

    const auto aside = damagedCopies(temp.folder());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(sameBytes(readFile(aside[0]), bytes));
}

TEST(SqliteRegistryDamage, AValidHeaderOverGarbagePagesIsMovedAsideIntact) {
    TempStore temp;
    fillStore(temp.file(), 200);
    std::string bytes = readFile(temp.file());
    ASSERT_GT(bytes.size(), 2 * kPageSize);
    bytes.replace(100, bytes.size() - 100, garbage(bytes.size() - 100, 2));
    writeFile(temp.file(), bytes);

    SqliteRegistry registry(temp.file());
    readAllLinks(registry, 200);
    expectWorkingStore(registry);

    const auto aside = damagedCopies(temp.folder());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(sameBytes(readFile(aside[0]), bytes));
}

// Damage behind intact first pages is found only when a damaged page is read (or, for a
// truncated file, written): the store is moved aside then, in the middle of use, and work goes
// on with a fresh one.
TEST(SqliteRegistryDamage, DamageFoundInUseMovesTheStoreAsideAndWorkGoesOn) {
    struct Case {
        const char* what;
        bool truncate;
    };
    for (const Case& damage : {Case{"truncated", true}, Case{"garbage pages at the end", false}}) {
        SCOPED_TRACE(damage.what);
        TempStore temp;
        fillStore(temp.file(), 3000);
        std::string bytes = readFile(temp.file());
        ASSERT_GT(bytes.size(), 20 * kPageSize);
        const std::size_t intact = bytes.size() * 2 / 5;
        if (damage.truncate) {
            bytes.resize(intact);
        } else {
            bytes.replace(intact, bytes.size() - intact, garbage(bytes.size() - intact, 3));
        }
        writeFile(temp.file(), bytes);

        SqliteRegistry registry(temp.file());
        // A write that lands before the damage shows must not be folded into the damaged file.
        registry.createKey("HKEY_LOCAL_MACHINE\\Software\\Velmor\\Input");
        readAllLinks(registry, 3000);
        expectWorkingStore(registry);

        const auto aside = damagedCopies(temp.folder());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_TRUE(sameBytes(readFile(aside[0]), bytes));
    }
}

TEST(SqliteRegistryDamage, DamageFoundInASaveStartsTheSaveAgainOnAFreshStore) {
    TempStore temp;
    fillStore(temp.file(), 3000);
    std::string bytes = readFile(temp.file());
    bytes.resize(bytes.size() / 2);
    writeFile(temp.file(), bytes);

    SqliteRegistry registry(temp.file());
    registry.batch([&] {
        for (int n = 0; n < 3000; n += 50) {
            registry.setValue(kLinks, linkName(n), "new");
        }
    });
    ASSERT_EQ(damagedCopies(temp.folder()).size(), 1u);
    // The whole save is in the fresh store, not only the part after the damage showed.
    test::RawSqlite raw(temp.file());
    EXPECT_EQ(raw.column("SELECT count(*) FROM reg_values WHERE CAST(data AS TEXT) = 'new'"),
              (std::vector<std::string>{"60"}));
}

TEST(SqliteRegistryDamage, TwoDamagedFilesInARowAreBothKept) {
    TempStore temp;
    const std::string first = garbage(3000, 4);
    const std::string second = garbage(3000, 5);
    writeFile(temp.file(), first);
    { SqliteRegistry registry(temp.file()); }
    std::filesystem::remove(temp.file());
    writeFile(temp.file(), second);
    { SqliteRegistry registry(temp.file()); }

    const auto aside = damagedCopies(temp.folder());
    ASSERT_EQ(aside.size(), 2u);
    std::vector<std::string> kept{readFile(aside[0]), readFile(aside[1])};
    std::sort(kept.begin(), kept.end());
    std::vector<std::string> expected{first, second};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(kept, expected);
}

// --- A store that cannot be opened or created -------------------------------------------------

void expectEveryOperationFailsQuietly(SqliteRegistry& registry) {
    EXPECT_FALSE(registry.usable());
    EXPECT_FALSE(registry.createKey(kLinks));
    EXPECT_FALSE(registry.setValue(kLinks, "Name", "data"));
    EXPECT_FALSE(registry.queryValue(kLinks, "Name"));
    int runs = 0;
    registry.batch([&] { ++runs; });
    EXPECT_EQ(runs, 1);
    settings::SettingsStore store(registry);
    EXPECT_FALSE(store.openKey(settings::kRootKey));
}

TEST(SqliteRegistryUnusable, AFolderThatCannotBeMadeLeavesTheStoreUnusable) {
    TempStore temp;
    const auto blocker = temp.folder() / "config";
    writeFile(blocker, "a file where the folder should be");
    SqliteRegistry registry(blocker / "velmor" / "registry.db");
    expectEveryOperationFailsQuietly(registry);
    EXPECT_EQ(readFile(blocker), "a file where the folder should be");
}

TEST(SqliteRegistryUnusable, AFolderWithoutWriteRightLeavesTheStoreUnusable) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root, which may write any folder";
    }
    TempStore temp;
    const auto folder = temp.folder() / "locked";
    std::filesystem::create_directory(folder);
    const std::string bytes = garbage(2000, 6);
    writeFile(folder / "damaged.db", bytes);
    ASSERT_EQ(chmod(folder.c_str(), 0500), 0);

    {
        SqliteRegistry fresh(folder / "registry.db");
        expectEveryOperationFailsQuietly(fresh);
    }
    {
        // A damaged file that cannot be moved aside is left alone.
        SqliteRegistry damaged(folder / "damaged.db");
        expectEveryOperationFailsQuietly(damaged);
    }
    chmod(folder.c_str(), 0700);
    EXPECT_TRUE(sameBytes(readFile(folder / "damaged.db"), bytes));
    EXPECT_FALSE(std::filesystem::exists(folder / "registry.db"));
}

}  // namespace
}  // namespace velmor::platform
