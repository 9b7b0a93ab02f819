#include "music/PlaylistEditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <new>

#include "music/PathListModel.h"
#include "music/Playlist.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/ProgramInfo.h"
#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::music {
namespace {

constexpr std::string_view kSavedStates =
    "Standard Saved State|*.zs?|SPC Saved State|*.spc|All Saved States|*.zs?;*.spc";
constexpr int kAllSavedStates = 3;
constexpr std::string_view kPlaylists = "SPC Playlists|*.spl";
// An added item is held in a fixed buffer of this many bytes, filled up with blanks; the blanks
// go when the list is saved.
constexpr std::size_t kItemWidth = 255;

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

}  // namespace

PlayList::PlayList(PlaylistEditorContext context)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      context_(std::move(context)) {
    setObjectName(QStringLiteral("PlayList"));
    setWindowTitle(QStringLiteral("Velmor Playlist Editor"));
    setFont(widgets::dialogFont());
    // The editor belongs to the main window's session: closing the main window ends the program
    // even while the editor is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildMenu();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(widgets::twips(4464), widgets::twips(3096));
    setCentralWidget(client);

    // The items keep their bytes, beside their shown text: a path need not be valid UTF-8.
    model_ = new PathListModel(this);
    list1_ = new QListView(client);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setModel(model_);
    list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list1_->setGeometry(widgets::twipRect(0, 120, 4452, 2544));
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    list1_->setUniformItemSizes(true);
    // The blanks that fill every added item would only scroll the list sideways into nothing.
    list1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list1_->setTextElideMode(Qt::ElideNone);
    command1_ = widgets::pushButton(client, "Command1", QStringLiteral("Add SPC File"),
                                    widgets::twipRect(1560, 2760, 1212, 252));
    command2_ = widgets::pushButton(client, "Command2", QStringLiteral("Delete File"),
                                    widgets::twipRect(3000, 2760, 1212, 252));
    setTabOrder(list1_, command1_);
    setTabOrder(command1_, command2_);
    connect(command1_, &QPushButton::clicked, this, &PlayList::command1Click);
    connect(command2_, &QPushButton::clicked, this, &PlayList::command2Click);

    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

void PlayList::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File"));
    connect(menuItem(file, "Clear", QStringLiteral("Clear")), &QAction::triggered, this,
            &PlayList::clearClick);
    connect(menuItem(file, "Load", QStringLiteral("Load Playlist")), &QAction::triggered, this,
            &PlayList::loadClick);
    save_ = menuItem(file, "Save", QStringLiteral("Save Playlist"));
    connect(save_, &QAction::triggered, this, &PlayList::saveClick);
    file->addSeparator()->setObjectName(QStringLiteral("separator"));
    connect(menuItem(file, "Close", QStringLiteral("Close")), &QAction::triggered, this,
            &PlayList::closeClick);
}

std::string PlayList::startFolder() const {
    std::string folder = context_.romLocation();
    return folder.empty() ? context_.program.folder() : folder;
}

std::vector<std::string> PlayList::entries() const {
    return model_->paths().toVector();
}

void PlayList::setReading(bool reading) {
    command1_->setEnabled(!reading);
    command2_->setEnabled(!reading);
    save_->setEnabled(!reading);
}

void PlayList::command1Click() {
    const std::optional<std::string> chosen = context_.fileDialogs.openFile(
        {{}, std::string(kSavedStates), startFolder(), kAllSavedStates, {}});
    if (!chosen || chosen->empty()) {
        return;
    }
    std::string entry = *chosen;
    // A longer name is kept whole: cut to the buffer it would name another file.
    if (entry.size() < kItemWidth) {
        entry.resize(kItemWidth, ' ');
    }
    model_->append(PathList{entry});
}

void PlayList::command2Click() {
    const QModelIndexList selected = list1_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        context_.messages.show("You must choose a file to remove.");
        return;
    }
    model_->removeRows(selected.front().row(), 1);
    // Nothing is chosen afterwards, so a second press cannot remove a neighbour unasked.
    list1_->clearSelection();
}

void PlayList::clearClick() {
    // A playlist still being read would fill the list again.
    reader_.cancel();
    setReading(false);
    model_->clear();
}

void PlayList::loadClick() {
    const std::optional<std::string> chosen =
        context_.fileDialogs.openFile({{}, std::string(kPlaylists), startFolder(), 1, {}});
    if (!chosen || chosen->empty()) {
        return;
    }
    model_->clear();
    setReading(true);
    reader_.read(*chosen, [this, playlist = *chosen](std::optional<PlaylistRead> read) {
        setReading(false);
        if (!read) {
            return;  // the list stays empty
        }
        const bool cut = read->cut;
        try {
            model_->append(std::move(read->entries));
        } catch (const std::bad_alloc&) {
            return;  // no room for the list: as unreadable as a damaged file
        }
        if (cut) {
            context_.messages.show(playlistCutText(playlist));
        }
    });
}

void PlayList::saveClick() {
    const std::optional<std::string> chosen =
        context_.fileDialogs.saveFile({{}, std::string(kPlaylists), startFolder(), 1, {}});
    if (!chosen || chosen->empty()) {
        return;
    }
    // The old file is left whole when the new one cannot be written; the user is told, rather
    // than left to believe the playlist saved.
    if (!writePlaylist(*chosen, model_->paths())) {
        context_.messages.show("The playlist could not be saved as " + *chosen + ".");
    }
}

void PlayList::closeClick() {
    close();
}

void PlayList::closeEvent(QCloseEvent* event) {
    reader_.cancel();
    event->accept();
    emit closed();
}

void PlaylistEditor::open() {
    widgets::bringForward(
        windows_.openOrMake([this] { return std::make_unique<PlayList>(context_); }));
}

}  // namespace velmor::music
