#include "options/PathsTab.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/FormTestSupport.h"
#include "platform/QtFileDialogs.h"

namespace velmor::test {
namespace {

class PathsTab : public FormTest {
  protected:
    void SetUp() override {
        form->formLoad();
        fake.log.clear();
    }
    void select(int index) { list("LinkPaths").setCurrentIndex(index); }
    void configure() { get<QPushButton>("Command6").click(); }
    void save() { get<QPushButton>("Command4").click(); }
    QLineEdit& box() { return get<QLineEdit>("Paths"); }
    settings::SettingsRecord& record() { return form->record(); }
};

// Each entry is chosen with its own dialog and lands in its own path and in the box. A program
// path is kept whole, however long: cut short, it would name another file.
TEST_F(PathsTab, ConfigurePathAsksEachEntrysDialogAndKeepsTheAnswer) {
    const std::string longPath = "/opt/" + std::string(300, 'p') + "/spcplay";
    fake.fileDialogs.answers = {"/usr/games/zsnes", "/home/u/roms", "/home/u/saves", longPath,
                                "/home/u/shots"};
    for (int index = 0; index < 5; ++index) {
        select(index);
        configure();
    }
    EXPECT_EQ(fake.log, (std::vector<std::string>{
                            "open dialog ",
                            "folder browser Select the folder containing your ROM's:",
                            "folder browser Select a folder to save your games in:",
                            "open dialog ",
                            "folder browser Select the folder containing your ScreenShots:",
                        }));
    const auto& requests = fake.fileDialogs.requests;
    EXPECT_EQ(requests[0].filter, "ZSNES.exe|zsnes.exe");
    EXPECT_EQ(requests[3].filter, "SPCPlay.exe|spcplay.exe");
    EXPECT_TRUE(requests[0].folder.empty() && requests[0].filterIndex == 1);
    EXPECT_EQ(record().zsnesPath, "/usr/games/zsnes");
    EXPECT_EQ(record().romPath, "/home/u/roms");
    EXPECT_EQ(record().savePath, "/home/u/saves");
    EXPECT_EQ(record().spcPlayPath, longPath);
    EXPECT_EQ(record().shotsPath, "/home/u/shots");
    EXPECT_EQ(box().text(), "/home/u/shots");
    select(3);
    EXPECT_EQ(box().text().toStdString(), longPath);
}

TEST_F(PathsTab, CancelledDialogsAndAMissingEmulatorChangeNothing) {
    record().romPath = "/old/roms";
    record().spcPlayPath = "/old/spcplay";
    select(1);
    configure();  // the queue is empty: every dialog is cancelled
    select(3);
    configure();
    EXPECT_EQ(record().romPath, "/old/roms");
    EXPECT_EQ(record().spcPlayPath, "/old/spcplay");
    EXPECT_EQ(box().text(), "/old/spcplay");

    // Saved games need the emulator first: a message, and no browser.
    fake.log.clear();
    fake.fileDialogs.answers = {"/home/u/saves"};
    select(2);
    configure();
    EXPECT_EQ(fake.log, std::vector<std::string>{
                            "message You need to set the folder where you keep ZSNES.exe"});
    EXPECT_TRUE(record().savePath.empty());
    EXPECT_EQ(box().text(), "/old/spcplay");
}

// "Save Path" takes the box as it stands: the path shown for another entry, blanks trimmed,
// or a name that is not valid UTF-8, which the box cannot hold and which keeps its own bytes.
TEST_F(PathsTab, SavePathStoresTheBoxTrimmedAndKeepsBytesItCannotShow) {
    record().zsnesPath = "/usr/games/zsnes";
    select(1);
    select(0);
    select(1);  // the ROM folder is unset: the box keeps the emulator's path
    EXPECT_EQ(box().text(), "/usr/games/zsnes");
    save();
    EXPECT_EQ(record().romPath, "/usr/games/zsnes");

    box().setText("   /home/u/my roms  ");
    save();
    EXPECT_EQ(record().romPath, "/home/u/my roms");
    box().setText("  ");
    save();
    EXPECT_EQ(record().romPath, "");

    record().shotsPath = "/home/u/caf\xe9 shots";
    select(4);
    save();
    EXPECT_EQ(record().shotsPath, "/home/u/caf\xe9 shots");
    box().setText(box().text() + " 2");  // edited: the box's own text from here on
    save();
    EXPECT_EQ(record().shotsPath, "/home/u/caf\xef\xbf\xbd shots 2");
}

// Text typed into the list selects no entry: the list shows no path and both buttons do
// nothing.
TEST_F(PathsTab, TextTypedIntoTheListSelectsNoEntry) {
    form->window().show();
    record().romPath = "/home/u/roms";
    select(1);
    fake.fileDialogs.answers = {"/elsewhere"};
    QComboBox& linkPaths = list("LinkPaths");
    linkPaths.lineEdit()->selectAll();
    QTest::keyClicks(linkPaths.lineEdit(), "My own entry");
    box().setText("/typed");
    configure();
    save();
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(record().romPath, "/home/u/roms");
    EXPECT_EQ(box().text(), "/typed");
}

// With Qt's own dialog: the filter lists only zsnes.exe, in any letter case, yet the emulator
// as Linux names it, without the extension, can still be chosen by typing its name.
TEST_F(PathsTab, TheRealDialogTakesAProgramOfAnotherNameTypedIn) {
    QTemporaryDir folder;
    for (const char* name : {"ZSNES.EXE", "zsnes", "readme.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    platform::QtFileDialogs dialogs;
    options::PathsTab tab(form->window(), record(), dialogs, fake.messages);
    QStringList listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(folder.path());
        auto* model = dialog->findChild<QFileSystemModel*>();
        const QModelIndex root = model->index(folder.path());
        QTRY_COMPARE(model->rowCount(root), 1);
        listed << model->index(0, 0, root).data().toString();
        QTest::keyClicks(dialog->findChild<QLineEdit*>("fileNameEdit"), "zsnes");
        static_cast<QDialog*>(dialog)->accept();  // as the Open button does
        if (dialog->isVisible()) {
            dialog->reject();  // refused: end the test rather than hang
        }
    });
    select(0);
    tab.command6Click();
    EXPECT_EQ(listed, QStringList{"ZSNES.EXE"});
    EXPECT_EQ(record().zsnesPath, folder.filePath("zsnes").toStdString());
}

}  // namespace
}  // namespace velmor::test
