#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/linux/QtFileDialogs.h"
#include "platform/linux/QtMessages.h"

namespace velmor::platform {
namespace {

// Acts on the modal dialog once it is up.
template <typename Dialog>
void whenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return whenShown(act);
        }
        act(*dialog);
    });
}

TEST(QtDialogs, FiltersBecomeQtsCaptionAndPatternsForm) {
    EXPECT_EQ(nameFilters("SPC Playlists|*.spl|Standard Saved State|*.zs?|All Saved "
                          "States|*.zs?;*.spc;*.spl|Dangling"),
              QStringList({"SPC Playlists (*.spl)", "Standard Saved State (*.zs?)",
                           "All Saved States (*.zs? *.spc *.spl)"}));
}

// The program filter lists the emulator in any letter case and nothing else, yet the emulator as
// Linux names it, without the extension, is taken when its name is typed; the chosen filter,
// title and start folder are those asked for.
TEST(QtDialogs, OpenDialogMatchesWithoutCaseAndTakesATypedNameOutsideTheFilter) {
    QTemporaryDir folder;
    for (const char* name : {"ZSNES.EXE", "zsnes", "readme.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList listed;
    QString selectedFilter;
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Pick");
        EXPECT_EQ(dialog.directory().path(), folder.path());
        selectedFilter = dialog.selectedNameFilter();
        auto* model = dialog.findChild<QFileSystemModel*>();
        const QModelIndex root = model->index(folder.path());
        QTRY_COMPARE(model->rowCount(root), 1);
        listed << model->index(0, 0, root).data().toString();
        QTest::keyClicks(dialog.findChild<QLineEdit*>("fileNameEdit"), "zsnes");
        static_cast<QDialog&>(dialog).accept();  // as the Open button does
        if (dialog.isVisible()) {
            dialog.reject();  // refused: end the test rather than hang
        }
    });
    QtFileDialogs dialogs;
    const auto chosen = dialogs.openFile(
        {"Pick", "Other|*.txt|ZSNES.exe|zsnes.exe", folder.path().toStdString(), 2, {}});
    EXPECT_EQ(selectedFilter, "ZSNES.exe (zsnes.exe)");
    EXPECT_EQ(listed, QStringList{"ZSNES.EXE"});
    EXPECT_EQ(chosen, folder.filePath("zsnes").toStdString());
}

TEST(QtDialogs, CancelledDialogsReturnNothingAndTheQuestionMapsItsButtons) {
    QtFileDialogs dialogs;
    whenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(dialogs.saveFile({"Save", "SPC Playlists|*.spl", {}, 1, "list.spl"}), std::nullopt);
    whenShown<QFileDialog>([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select the folder containing your ROM's:");
        dialog.reject();
    });
    EXPECT_EQ(dialogs.browseFolder("Select the folder containing your ROM's:"), std::nullopt);

    QtMessages messages;
    const auto press = [](QMessageBox::StandardButton which) {
        whenShown<QMessageBox>([which](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "VBUnzip - File already exists");
            EXPECT_EQ(box.text(), "Overwrite a.smc?");
            EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
            if (which == QMessageBox::Escape) {
                QTest::keyClick(&box, Qt::Key_Escape);
            } else {
                box.button(which)->click();
            }
        });
    };
    for (const auto& [button, answer] :
         {std::pair{QMessageBox::Yes, Messages::Answer::Yes},
          std::pair{QMessageBox::No, Messages::Answer::No},
          std::pair{QMessageBox::Escape, Messages::Answer::Cancel}}) {
        press(button);
        EXPECT_EQ(messages.ask("Overwrite a.smc?", "VBUnzip - File already exists"), answer);
    }
}

}  // namespace
}  // namespace velmor::platform
