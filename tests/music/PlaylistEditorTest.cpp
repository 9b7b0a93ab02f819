#include "music/PlaylistEditor.h"

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/FormTestSupport.h"
#include "music/Playlist.h"

namespace velmor::test {
namespace {

using Entries = std::vector<std::string>;

class PlaylistEditorTest : public FormTest {
  protected:
    // Opens the editor as Edit Playlist does.
    music::PlayList& open() {
        get<QPushButton>("Command10").click();
        music::PlayList* window = form->playlistEditor().window();
        if (window == nullptr) {
            throw std::logic_error("Edit Playlist opened no editor");
        }
        return *window;
    }
    // The open editor, opened first when there is none.
    music::PlayList& window() {
        music::PlayList* shown = form->playlistEditor().window();
        return shown != nullptr ? *shown : open();
    }
    template <typename Widget = QAction>
    Widget& in(const char* name) {
        return *window().findChild<Widget*>(QString::fromLatin1(name));
    }
    // Add SPC File with the dialog answering `name` (nothing: cancelled).
    void add(std::optional<std::string> name) {
        fake.fileDialogs.answers.push_back(std::move(name));
        in<QPushButton>("Command1").click();
    }
    void menu(const char* item, std::optional<std::string> answer) {
        fake.fileDialogs.answers.push_back(std::move(answer));
        in(item).trigger();
    }
    QListWidget& list1() { return in<QListWidget>("List1"); }
    Entries entries() { return window().entries(); }
    std::string bytesOf(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    QTemporaryDir made;
    const std::string dir = made.path().toStdString();
};

TEST_F(PlaylistEditorTest, AddPadsEachNameAndSaveWritesItsBytesWithoutTheBlanks) {
    const std::string latin1 = "/music/caf\xe9.spc";  // not UTF-8
    const std::string longName = "/" + std::string(300, 'n') + ".spc";
    form->record().romPath = "/roms";
    add("/music/a,b.spc");
    add(std::nullopt);
    form->record().romPath.clear();
    add(latin1);
    add(longName);
    EXPECT_EQ(entries(), (Entries{"/music/a,b.spc" + std::string(241, ' '),
                                  latin1 + std::string(240, ' '), longName}));
    EXPECT_EQ(list1().item(1)->text().trimmed(), QStringLiteral("/music/caf\uFFFD.spc"));
    const platform::FileRequest& first = fake.fileDialogs.requests.front();
    EXPECT_EQ(first.folder, "/roms");
    EXPECT_EQ(first.filter,
              "Standard Saved State|*.zs?|SPC Saved State|*.spc|All Saved States|*.zs?;*.spc");
    EXPECT_EQ(first.filterIndex, 3);
    EXPECT_EQ(fake.fileDialogs.requests.back().folder, "/opt/velmor") << "the program's folder";

    menu("Save", dir + "/typed");
    EXPECT_EQ(bytesOf(dir + "/typed"),
              "\"/music/a,b.spc\"\r\n\"" + latin1 + "\"\r\n\"" + longName + "\"\r\n");
    const platform::FileRequest& save = fake.fileDialogs.requests.back();
    EXPECT_EQ(save.filter, "SPC Playlists|*.spl");
    EXPECT_EQ(save.filterIndex, 1);
    EXPECT_EQ(save.fileName, "");

    menu("Load", dir + "/typed");
    EXPECT_EQ(entries(), (Entries{"/music/a,b.spc", latin1, longName}));
}

TEST_F(PlaylistEditorTest, DeleteClearLoadAndCancelsChangeOnlyWhatTheySay) {
    music::writePlaylist(dir + "/three.spl", {"/a.spc", "/b.spc", "/c.spc"});
    menu("Load", dir + "/three.spl");
    in<QPushButton>("Command2").click();
    EXPECT_EQ(fake.messages.shown, Entries{"You must choose a file to remove."});
    list1().setCurrentRow(1);
    in<QPushButton>("Command2").click();
    EXPECT_EQ(entries(), (Entries{"/a.spc", "/c.spc"}));
    in<QPushButton>("Command2").click();
    EXPECT_EQ(entries().size(), 2u) << "a second press removes no neighbour";
    EXPECT_EQ(fake.messages.shown.size(), 2u);

    add(std::nullopt);
    menu("Load", std::nullopt);
    menu("Save", std::nullopt);
    EXPECT_EQ(entries(), (Entries{"/a.spc", "/c.spc"})) << "cancelled dialogs change nothing";

    menu("Save", dir + "/empty.spl");  // saved before clearing, then replaced by an empty list
    in("Clear").trigger();
    EXPECT_EQ(list1().count(), 0);
    menu("Save", dir + "/empty.spl");
    EXPECT_EQ(std::filesystem::file_size(dir + "/empty.spl"), 0u);

    menu("Load", dir + "/three.spl");
    menu("Load", dir);  // a folder cannot be read: the list was emptied first
    EXPECT_EQ(list1().count(), 0);
}

TEST_F(PlaylistEditorTest, OneWindowBesideTheMainWindowEmptyAgainAfterClose) {
    music::PlayList& window = open();
    EXPECT_FALSE(window.isModal() || window.parentWidget() != nullptr ||
                 window.testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Velmor Playlist Editor"));
    EXPECT_EQ(window.centralWidget()->size(), QSize(298, 206));
    EXPECT_GE(window.centralWidget()->y(), window.menuBar()->height()) << "menu above the list";
    add("/a.spc");
    EXPECT_EQ(&open(), &window) << "Edit Playlist again brings the same window forward";

    QPointer<music::PlayList> closed(&window);
    in("Close").trigger();
    EXPECT_EQ(form->playlistEditor().window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(list1().count(), 0);
    open().close();  // the close box
    EXPECT_EQ(form->playlistEditor().window(), nullptr);
}

}  // namespace
}  // namespace velmor::test
