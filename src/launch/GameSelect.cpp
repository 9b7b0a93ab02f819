#include "launch/GameSelect.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPointer>
#include <QPromise>
#include <QPushButton>
#include <thread>

#include "platform/Events.h"
#include "settings/Controls.h"
#include "settings/Holders.h"
#include "widgets/CancelOnEscape.h"
#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::launch {
namespace {

// Rows added to the list at a time; the window answers its user between two parts.
constexpr int kBatchRows = 2000;

}  // namespace

GameSelect::GameSelect(GameSelectContext context)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      context_(std::move(context)) {
    setObjectName(QStringLiteral("GameSelect"));
    setWindowTitle(QStringLiteral("Game Selection"));
    setFont(widgets::dialogFont());
    setFixedSize(widgets::twips(3492), widgets::twips(2424));
    // The picker belongs to the main window's session: closing the main window ends the program
    // even while the picker is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    file1_ = new QListWidget(this);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setGeometry(widgets::twipRect(120, 120, 3252, 1800));
    file1_->setSelectionMode(QAbstractItemView::SingleSelection);
    file1_->setUniformItemSizes(true);
    command1_ = widgets::pushButton(this, "Command1", QStringLiteral("Select"),
                                    widgets::twipRect(1920, 2040, 1452, 252));
    command2_ = widgets::pushButton(this, "Command2", QStringLiteral("Cancel"),
                                    widgets::twipRect(120, 2040, 1452, 252));
    setTabOrder(file1_, command1_);
    setTabOrder(command1_, command2_);

    connect(command1_, &QPushButton::clicked, this, &GameSelect::command1Click);
    connect(command2_, &QPushButton::clicked, this, &GameSelect::command2Click);
    widgets::cancelOnEscape(*this, *command2_);
    connect(file1_, &QListWidget::itemDoubleClicked, this, &GameSelect::file1DblClick);
    connect(&watcher_, &QFutureWatcher<GameFolder>::finished, this, &GameSelect::readFinished);
    batches_.setInterval(0);
    connect(&batches_, &QTimer::timeout, this, &GameSelect::addBatch);
}

GameSelect::~GameSelect() {
    reading_.cancel();
}

void GameSelect::setFolder(const std::string& folder) {
    reading_.cancel();
    batches_.stop();
    file1_->clear();
    names_.clear();
    folder_ = {};
    filled_ = false;

    QPromise<GameFolder> promise;
    reading_ = promise.future();
    watcher_.setFuture(reading_);
    // A thread of its own rather than one of a pool: the program's end must not wait for a
    // folder that does not answer. The thread shares nothing with the window but the future.
    std::thread([promise = std::move(promise), folder]() mutable {
        promise.start();
        promise.addResult(
            readGameFolder(folder, kGameFilter, [&promise] { return promise.isCanceled(); }));
        promise.finish();
    }).detach();
}

void GameSelect::readFinished() {
    if (reading_.isCanceled() || reading_.resultCount() == 0) {
        return;
    }
    folder_ = reading_.takeResult();
    names_ = std::move(folder_.names);
    addBatch();
    if (!filled_) {
        batches_.start();
    }
}

void GameSelect::addBatch() {
    const qsizetype shown = file1_->count();
    file1_->addItems(folder_.shown.mid(shown, kBatchRows));
    if (file1_->count() >= folder_.shown.size()) {
        batches_.stop();
        folder_ = {};
        filled_ = true;
    }
}

std::string GameSelect::selectedName() const {
    const QList<QListWidgetItem*> selected = file1_->selectedItems();
    if (selected.isEmpty()) {
        return {};
    }
    return names_.at(static_cast<std::size_t>(file1_->row(selected.front())));
}

bool GameSelect::begin() {
    if (ending_) {
        return false;
    }
    ending_ = true;
    return true;
}

void GameSelect::setCurrentGame(const std::string& name) {
    context_.holders.setText(controls::kGmLabel, name);
}

void GameSelect::command1Click() {
    if (!begin()) {
        return;
    }
    setCurrentGame(selectedName());
    context_.showGamePicture();
    const QPointer<GameSelect> self(this);
    context_.events.process();
    if (self != nullptr) {
        close();
    }
}

void GameSelect::file1DblClick() {
    if (!begin()) {
        return;
    }
    setCurrentGame(selectedName());
    close();
    context_.showGamePicture();
    context_.events.process();
}

void GameSelect::command2Click() {
    if (!begin()) {
        return;
    }
    close();
    // After Cancel no game is chosen, even one chosen before; its picture stays as it was.
    setCurrentGame({});
}

void GameSelect::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

void GamePicker::open(const std::string& folder) {
    // Gone once closed: every opening starts afresh.
    GameSelect& window =
        windows_.openOrMake([this] { return std::make_unique<GameSelect>(context_); });
    window.setFolder(folder);
    widgets::bringForward(window);
}

}  // namespace velmor::launch
