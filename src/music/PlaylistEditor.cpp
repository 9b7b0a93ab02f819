#include "music/PlaylistEditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

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
// The bytes of an item, beside its shown text: a path need not be valid UTF-8.
constexpr int kEntryRole = Qt::UserRole;

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

    list1_ = new QListWidget(client);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setGeometry(widgets::twipRect(0, 120, 4452, 2544));
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    list1_->setUniformItemSizes(true);
    // The blanks that fill every added item would only scroll the list sideways into nothing.
    list1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list1_->setTextElideMode(Qt::ElideNone);
    QPushButton* command1 = widgets::pushButton(client, "Command1", QStringLiteral("Add SPC File"),
                                                widgets::twipRect(1560, 2760, 1212, 252));
    QPushButton* command2 = widgets::pushButton(client, "Command2", QStringLiteral("Delete File"),
                                                widgets::twipRect(3000, 2760, 1212, 252));
    setTabOrder(list1_, command1);
    setTabOrder(command1, command2);
    connect(command1, &QPushButton::clicked, this, &PlayList::command1Click);
    connect(command2, &QPushButton::clicked, this, &PlayList::command2Click);

    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

void PlayList::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File"));
    connect(menuItem(file, "Clear", QStringLiteral("Clear")), &QAction::triggered, this,
            &PlayList::clearClick);
    connect(menuItem(file, "Load", QStringLiteral("Load Playlist")), &QAction::triggered, this,
            &PlayList::loadClick);
    connect(menuItem(file, "Save", QStringLiteral("Save Playlist")), &QAction::triggered, this,
            &PlayList::saveClick);
    file->addSeparator()->setObjectName(QStringLiteral("separator"));
    connect(menuItem(file, "Close", QStringLiteral("Close")), &QAction::triggered, this,
            &PlayList::closeClick);
}

std::string PlayList::startFolder() const {
    std::string folder = context_.romLocation();
    return folder.empty() ? context_.program.folder() : folder;
}

void PlayList::append(const std::string& entry) {
    const auto size = static_cast<qsizetype>(entry.size());
    auto* item = new QListWidgetItem(QString::fromUtf8(entry.data(), size), list1_);
    item->setData(kEntryRole, QByteArray(entry.data(), size));
}

std::vector<std::string> PlayList::entries() const {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(list1_->count()));
    for (int row = 0; row < list1_->count(); ++row) {
        result.push_back(list1_->item(row)->data(kEntryRole).toByteArray().toStdString());
    }
    return result;
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
    append(entry);
}

void PlayList::command2Click() {
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    if (selected.isEmpty()) {
        context_.messages.show("You must choose a file to remove.");
        return;
    }
    std::unique_ptr<QListWidgetItem> removed(list1_->takeItem(list1_->row(selected.front())));
    // Nothing is chosen afterwards, so a second press cannot remove a neighbour unasked.
    list1_->clearSelection();
}

void PlayList::clearClick() {
    list1_->clear();
}

void PlayList::loadClick() {
    const std::optional<std::string> chosen =
        context_.fileDialogs.openFile({{}, std::string(kPlaylists), startFolder(), 1, {}});
    if (!chosen || chosen->empty()) {
        return;
    }
    list1_->clear();
    const std::optional<std::vector<std::string>> read = readPlaylist(*chosen);
    if (!read) {
        return;
    }
    list1_->setUpdatesEnabled(false);
    for (const std::string& entry : *read) {
        append(entry);
    }
    list1_->setUpdatesEnabled(true);
}

void PlayList::saveClick() {
    const std::optional<std::string> chosen =
        context_.fileDialogs.saveFile({{}, std::string(kPlaylists), startFolder(), 1, {}});
    if (!chosen || chosen->empty()) {
        return;
    }
    // The old file is left whole when the new one cannot be written; the user is told, rather
    // than left to believe the playlist saved.
    if (!writePlaylist(*chosen, entries())) {
        context_.messages.show("The playlist could not be saved as " + *chosen + ".");
    }
}

void PlayList::closeClick() {
    close();
}

void PlayList::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

PlaylistEditor::PlaylistEditor(PlaylistEditorContext context) : context_(std::move(context)) {}

PlaylistEditor::~PlaylistEditor() {
    for (const QPointer<PlayList>& closed : closing_) {
        delete closed.data();
    }
}

void PlaylistEditor::open() {
    std::erase_if(closing_, [](const QPointer<PlayList>& closed) { return closed.isNull(); });
    if (window_ == nullptr) {
        window_ = std::make_unique<PlayList>(context_);
        PlayList* opened = window_.get();
        QObject::connect(opened, &PlayList::closed, opened, [this, opened] {
            if (window_.get() == opened) {
                closing_.emplace_back(opened);
                window_.release()->deleteLater();
            }
        });
    }
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace velmor::music
