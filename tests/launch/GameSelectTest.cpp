#include "launch/GameSelect.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "launch/GameSelectFolder.h"
#include "settings/Catalogue.h"
#include "support/Files.h"
#include "support/FormTest.h"

namespace velmor::test {
namespace {

namespace fs = std::filesystem;

// A name that is not valid UTF-8 (Latin-1 "café").
const std::string kLatin1Name = "caf\xe9.smc";

using Folder = TempFolder;

void touch(const fs::path& file) {
    writeFile(file, "rom");
}

// A ROM folder with one file of each pattern in varied letter case and what must stay out.
fs::path romFolder(const Folder& dir) {
    const fs::path& folder = dir.path;
    for (const char* name :
         {"Game 10.smc", "game 2.SMC", "alpha.Fig", "Zelda.SFC", "b.swc", "d.058", "e.078", "f.1",
          "g.UsA", "h.jap", "Pack.ZIP", "readme.txt", "x.smc.bak", "y.11", "smc"}) {
        touch(folder / name);
    }
    touch(folder / kLatin1Name);
    fs::create_directory(folder / "folder.smc");
    fs::create_symlink(folder / "missing.smc", folder / "dead.smc");
    fs::create_symlink(folder / "b.swc", folder / "link.sfc");
    fs::create_symlink(folder / "folder.smc", folder / "dirlink.zip");
    return folder;
}

TEST(GameSelectFolder, ListsMatchingFilesInAPersonsOrderWithTheirOwnBytes) {
    Folder dir;
    const launch::GameFolder games = launch::readGameFolder(romFolder(dir).string());
    const std::vector<std::string> expected{
        "alpha.Fig",  "b.swc",       "caf\xe9.smc", "d.058",    "e.078",    "f.1",      "g.UsA",
        "game 2.SMC", "Game 10.smc", "h.jap",       "link.sfc", "Pack.ZIP", "Zelda.SFC"};
    EXPECT_EQ(games.names, expected);
}

class GameSelectTest : public FormTest {
  protected:
    void SetUp() override {
        form->record().romPath = romFolder(dir).string();
        QObject::connect(form.get(), &app::MainForm::showGamePicture, [this] {
            pictures.push_back(form->gamePicker().window() != nullptr ? "open" : "closed");
        });
    }
    // Opens the picker as the choose-game button does and waits for its list.
    launch::GameSelect& open() {
        get<QPushButton>("Command2").click();
        launch::GameSelect* window = form->gamePicker().window();
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([window] { return window->isFilled(); }));
        return *window;
    }
    QListWidget& list(launch::GameSelect& window) {
        return *window.findChild<QListWidget*>(QStringLiteral("File1"));
    }
    // Clicks the row of `name` the way a user does.
    void pick(launch::GameSelect& window, const QString& name, bool twice = false) {
        QListWidget& file1 = list(window);
        const auto found = file1.findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QPoint at = file1.visualItemRect(found.front()).center();
        QTest::mouseClick(file1.viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            QTest::mouseDClick(file1.viewport(), Qt::LeftButton, {}, at);
        }
    }
    void click(launch::GameSelect& window, const char* button) {
        QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    std::string currentGame() {
        form->saveGUISettings();
        return fake.registry.text(settings::kRootKey, "Last Game").value_or("(none)");
    }

    Folder dir;
    std::vector<std::string> pictures;  // whether the picker was open at each picture
};

TEST_F(GameSelectTest, SelectAndDoubleClickChooseTheGameCancelAndEscapeClearIt) {
    launch::GameSelect& first = open();
    EXPECT_FALSE(first.isModal() || first.parentWidget() != nullptr);
    pick(first, QStringLiteral("caf\uFFFD.smc"));
    // The chosen game's picture gets its turn to be drawn before the picker goes.
    std::vector<std::string> atEvents;
    fake.events.onProcess = [&] {
        atEvents.push_back(std::string(labelText("GmLabel").isEmpty() ? "none" : "chosen") +
                           (form->gamePicker().window() != nullptr ? ", open" : ", closed"));
    };
    click(first, "Command1");
    EXPECT_EQ(form->gamePicker().window(), nullptr);
    EXPECT_EQ(currentGame(), kLatin1Name) << "the launcher needs the folder's own bytes";
    EXPECT_EQ(atEvents, std::vector<std::string>{"chosen, open"});
    fake.events.onProcess = nullptr;

    pick(open(), QStringLiteral("Pack.ZIP"), true);
    EXPECT_EQ(form->gamePicker().window(), nullptr);
    EXPECT_EQ(labelText("GmLabel"), "Pack.ZIP");
    EXPECT_EQ(pictures, (std::vector<std::string>{"open", "closed"}));

    click(open(), "Command2");
    EXPECT_EQ(currentGame(), "") << "Cancel leaves no game chosen";

    pick(open(), QStringLiteral("h.jap"));
    click(*form->gamePicker().window(), "Command1");
    QTest::keyClick(&list(open()), Qt::Key_Escape);
    EXPECT_EQ(form->gamePicker().window(), nullptr);
    EXPECT_EQ(labelText("GmLabel"), "");
    EXPECT_EQ(pictures.size(), 3u) << "Cancel and Escape leave the picture alone";

    pick(open(), QStringLiteral("h.jap"));
    form->gamePicker().window()->close();  // the close box
    EXPECT_EQ(labelText("GmLabel"), "") << "the close box only closes";
    click(open(), "Command1");
    EXPECT_EQ(labelText("GmLabel"), "") << "nothing selected is no game";
}

TEST_F(GameSelectTest, OpeningAgainRefreshesTheOneWindowForTheCurrentFolder) {
    launch::GameSelect& window = open();
    pick(window, QStringLiteral("b.swc"));
    touch(fs::path(form->record().romPath) / "new.sfc");
    EXPECT_EQ(&open(), &window);
    EXPECT_TRUE(list(window).selectedItems().isEmpty());
    EXPECT_FALSE(list(window).findItems("new.sfc", Qt::MatchExactly).isEmpty());

    form->record().romPath = dir.path.string() + "/gone";
    EXPECT_EQ(&open(), &window);
    EXPECT_EQ(list(window).count(), 0);
    form->record().romPath.clear();
    EXPECT_EQ(list(open()).count(), 0);
}

TEST_F(GameSelectTest, AnOlderUnfinishedReadNeverReplacesANewerOne) {
    Folder big;
    for (int i = 0; i < 2000; ++i) {
        touch(big.path / ("Game " + std::to_string(i) + ".smc"));
    }
    const std::string small = form->record().romPath;
    form->record().romPath = big.path.string();
    get<QPushButton>("Command2").click();
    form->record().romPath = small;
    launch::GameSelect& window = open();
    QTest::qWait(300);  // long enough for the large read to end
    EXPECT_EQ(list(window).count(), 13);
}

}  // namespace
}  // namespace velmor::test
