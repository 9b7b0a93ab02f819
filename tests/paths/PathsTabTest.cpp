#include "paths/PathsTab.h"

#include <QPushButton>
#include <QTest>

#include "support/FormTest.h"

namespace velmor::test {
namespace {

class PathsTab : public FormTest {
  protected:
    void SetUp() override {
        form->formLoad();
        fake.log.clear();
    }
    // Selects an entry and presses a button: "Command6" Configure Path, "Command4" Save Path.
    void press(int index, const char* button) {
        list("LinkPaths").setCurrentIndex(index);
        get<QPushButton>(button).click();
    }
    QLineEdit& box() { return get<QLineEdit>("Paths"); }
    settings::SettingsRecord& record() { return form->record(); }
};

// Each entry asks its own dialog; a cancelled one changes nothing, and saved games need the
// emulator first. A program path is kept whole, however long: cut, it would name another file.
TEST_F(PathsTab, ConfigurePathAsksEachEntrysDialog) {
    const std::string longPath = "/opt/" + std::string(300, 'p') + "/spcplay";
    fake.fileDialogs.answers = {"/usr/games/zsnes", "/home/u/roms", longPath};
    press(2, "Command6");
    for (int index : {0, 1, 3, 4, 2}) {  // the queue runs dry at 4: cancelled from there on
        press(index, "Command6");
    }
    EXPECT_EQ(fake.log,
              (std::vector<std::string>{
                  "message You need to set the folder where you keep ZSNES.exe", "open dialog ",
                  "folder browser Select the folder containing your ROM's:", "open dialog ",
                  "folder browser Select the folder containing your ScreenShots:",
                  "folder browser Select a folder to save your games in:"}));
    EXPECT_EQ(fake.fileDialogs.requests[0].filter, "ZSNES.exe|zsnes.exe");
    EXPECT_EQ(fake.fileDialogs.requests[2].filter, "SPCPlay.exe|spcplay.exe");
    const auto& r = record();
    EXPECT_EQ(std::tie(r.zsnesPath, r.romPath, r.spcPlayPath, r.shotsPath, r.savePath),
              std::tuple("/usr/games/zsnes", "/home/u/roms", longPath, "", ""));
    EXPECT_EQ(box().text().toStdString(), longPath);
}

// "Save Path" takes the box as it stands, without its blanks, even the path shown for another
// entry. A path that is not valid UTF-8 cannot be shown as it is; saved back unedited, it keeps
// its bytes.
TEST_F(PathsTab, SavePathStoresTheBoxTrimmed) {
    record().zsnesPath = "/usr/games/zsnes";
    record().shotsPath = "/home/u/caf\xe9";
    press(1, "Command4");
    press(0, "Command4");
    press(1, "Command4");  // the ROM folder is unset: the box keeps the emulator's path
    EXPECT_EQ(record().romPath, "/usr/games/zsnes");
    box().setText("   /home/u/my roms  ");
    press(1, "Command4");
    EXPECT_EQ(record().romPath, "/home/u/my roms");
    press(4, "Command4");
    EXPECT_EQ(record().shotsPath, "/home/u/caf\xe9");
}

// Text typed into the list selects no entry: both buttons then do nothing.
TEST_F(PathsTab, TextTypedIntoTheListSelectsNoEntry) {
    form->window().show();
    record().romPath = "/home/u/roms";
    fake.fileDialogs.answers = {"/elsewhere"};
    list("LinkPaths").setCurrentIndex(1);
    list("LinkPaths").lineEdit()->selectAll();
    QTest::keyClicks(list("LinkPaths").lineEdit(), "My own entry");
    get<QPushButton>("Command6").click();
    get<QPushButton>("Command4").click();
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(record().romPath, "/home/u/roms");
}

}  // namespace
}  // namespace velmor::test
