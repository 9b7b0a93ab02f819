#include "music/PlaylistEditor.h"

#include <QAction>
#include <QCoreApplication>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "music/Playlist.h"
#include "support/Files.h"
#include "support/FormTest.h"

namespace velmor::test {
namespace {

using Entries = std::vector<std::string>;

class PlaylistEditorTest : public FormTest {
  protected:
    // The open editor; when there is none, Edit Playlist opens it.
    music::PlayList& window() {
        if (form->playlistEditor().window() == nullptr) {
            get<QPushButton>("Command10").click();
        }
        return *form->playlistEditor().window();
    }
    template <typename Widget = QAction>
    Widget& in(const char* name) {
        return findControl<Widget>(window(), name);
    }
    // Add SPC File or a menu item, the dialog answering `answer` (nothing: cancelled).
    void add(std::optional<std::string> answer) {
        fake.fileDialogs.answers.push_back(std::move(answer));
        in<QPushButton>("Command1").click();
    }
    // A menu item; a playlist it loads has been read when it returns.
    void menu(const char* item, std::optional<std::string> answer) {
        fake.fileDialogs.answers.push_back(std::move(answer));
        in(item).trigger();
        loaded();
    }
    void loaded() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return in("Save").isEnabled(); }, 60000));
    }
    void remove() { in<QPushButton>("Command2").click(); }
    QListView& list1() { return in<QListView>("List1"); }
    QString item(int row) { return list1().model()->index(row, 0).data().toString(); }
    int count() { return list1().model()->rowCount(); }

    QTemporaryDir made;
    const std::string dir = made.path().toStdString();
};

TEST_F(PlaylistEditorTest, AddPadsNamesSaveWritesTheirBytesWithoutTheBlanks) {
    const std::string latin1 = "/music/caf\xe9.spc";
    // Longer than any path the system opens: shown cut, yet kept and saved whole.
    const std::string longName = "/" + std::string(5000, 'n') + ".spc";
    form->record().romPath = "/roms";
    add("/music/a,b.spc");
    add(std::nullopt);
    form->record().romPath.clear();
    add(latin1);
    add(longName);
    EXPECT_EQ(window().entries(), (Entries{"/music/a,b.spc" + std::string(241, ' '),
                                           latin1 + std::string(240, ' '), longName}));
    EXPECT_EQ(item(1).trimmed(), QStringLiteral("/music/caf\uFFFD.spc"));
    EXPECT_EQ(item(2), QString::fromStdString(longName.substr(0, 4096)) + QChar(0x2026));
    EXPECT_EQ(fake.fileDialogs.requests.front().folder, "/roms");
    EXPECT_EQ(fake.fileDialogs.requests.back().folder, "/opt/velmor") << "the program's folder";

    menu("Save", dir + "/typed");
    EXPECT_EQ(readFile(dir + "/typed"),
              "\"/music/a,b.spc\"\r\n\"" + latin1 + "\"\r\n\"" + longName + "\"\r\n");
    menu("Load", dir + "/typed");
    EXPECT_EQ(window().entries(), (Entries{"/music/a,b.spc", latin1, longName}));
}

TEST_F(PlaylistEditorTest, DeleteClearLoadAndCancelsChangeOnlyWhatTheySay) {
    music::writePlaylist(dir + "/three.spl", {"/a.spc", "/b.spc", "/c.spc"});
    menu("Load", dir + "/three.spl");
    remove();
    EXPECT_EQ(fake.messages.shown, Entries{"You must choose a file to remove."});
    list1().setCurrentIndex(list1().model()->index(1, 0));
    remove();
    remove();
    EXPECT_EQ(window().entries(), (Entries{"/a.spc", "/c.spc"})) << "only the chosen one goes";
    EXPECT_EQ(fake.messages.shown.size(), 2u);

    add(std::nullopt);
    menu("Load", std::nullopt);
    menu("Save", std::nullopt);
    EXPECT_EQ(count(), 2) << "cancelled dialogs change nothing";
    EXPECT_FALSE(std::filesystem::exists(dir + "/empty.spl"));
    in("Clear").trigger();
    menu("Save", dir + "/empty.spl");
    EXPECT_EQ(std::filesystem::file_size(dir + "/empty.spl"), 0u);

    menu("Load", dir + "/three.spl");
    menu("Load", dir);  // a folder cannot be read: the list was emptied first
    EXPECT_EQ(count(), 0);
    menu("Save", dir);  // nor written over
    EXPECT_EQ(fake.messages.shown.back(), "The playlist could not be saved as " + dir + ".");
}

TEST_F(PlaylistEditorTest, ALoadUnderWayHoldsOffChangesAndClearOrCloseDropsIt) {
    std::string lines;
    for (std::size_t i = 1; i < music::kMostSongs; ++i) {
        lines += "s\n";
    }
    const std::string over = dir + "/over.spl";
    std::ofstream(over, std::ios::binary) << lines + "/last.spc\n/over.spc\n";
    const auto changesHeld = [this] {
        return !in<QPushButton>("Command1").isEnabled() &&
               !in<QPushButton>("Command2").isEnabled() && !in("Save").isEnabled();
    };
    fake.fileDialogs.answers.push_back(over);
    in("Load").trigger();
    EXPECT_TRUE(changesHeld()) << "the list is about to be replaced";
    loaded();
    EXPECT_EQ(static_cast<std::size_t>(count()), music::kMostSongs);
    EXPECT_EQ(item(count() - 1), QStringLiteral("/last.spc"));
    EXPECT_EQ(fake.messages.shown, Entries{music::playlistCutText(over)});

    const auto roomForALateResult = [] { QTest::qWait(1000); };
    fake.fileDialogs.answers.push_back(over);
    in("Load").trigger();
    in("Clear").trigger();
    EXPECT_TRUE(in<QPushButton>("Command1").isEnabled() && in("Save").isEnabled());
    roomForALateResult();
    EXPECT_EQ(count(), 0);
    fake.fileDialogs.answers.push_back(over);
    in("Load").trigger();
    in("Close").trigger();
    roomForALateResult();
    EXPECT_EQ(fake.messages.shown.size(), 1u) << "nothing came of the dropped reads";
}

TEST_F(PlaylistEditorTest, OneWindowBesideTheMainWindowEmptyAgainAfterClose) {
    music::PlayList& first = window();
    EXPECT_FALSE(first.isModal() || first.parentWidget() != nullptr ||
                 first.testAttribute(Qt::WA_QuitOnClose));
    add("/a.spc");
    get<QPushButton>("Command10").click();
    EXPECT_EQ(form->playlistEditor().window(), &first) << "Edit Playlist brings it forward";

    QPointer<music::PlayList> closed(&first);
    in("Close").trigger();
    EXPECT_EQ(form->playlistEditor().window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(count(), 0);
    window().close();  // the close box
    EXPECT_EQ(form->playlistEditor().window(), nullptr);
}

}  // namespace
}  // namespace velmor::test
