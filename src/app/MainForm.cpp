#include "app/MainForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <cstdio>
#include <stdexcept>

#include "app/MainWindow.h"
#include "app/WidgetHolders.h"
#include "dialogs/LoadingWindow.h"
#include "dialogs/OptionsWindow.h"
#include "launch/GameLauncher.h"
#include "launch/GameSelect.h"
#include "pictures/PictureBox.h"
#include "pictures/PictureLinks.h"
#include "music/PlayerKeys.h"
#include "music/PlaylistEditor.h"
#include "music/ComboSongList.h"
#include "music/MusicPlayerControl.h"
#include "filetypes/RegisterFileTypes.h"
#include "interlocks/Interlocks.h"
#include "paths/PathsTab.h"
#include "settings/FrontEndSettings.h"
#include "widgets/FindControl.h"

namespace velmor::app {

using widgets::findControl;
namespace {

constexpr int kProgressRootOpened = 5;
constexpr int kProgressLoaded = 195;
constexpr int kProgressDone = 200;
constexpr int kMusicTab = 5;

}  // namespace

MainForm::MainForm(platform::Platform& platform)
    : platform_(platform), store_(platform.registry), window_(std::make_unique<MainWindow>()) {
    QWidget& form = *window_;
    holders_ = std::make_unique<WidgetHolders>(form, record_);
    interlocks_ = new interlocks::Interlocks(form);
    pathsTab_ = new paths::PathsTab(form, record_, platform_.fileDialogs, platform_.messages);
    gmLabel_ = &findControl<QLabel>(form, "GmLabel");

    connect(&findControl<QAction>(form, "SaveSettings"), &QAction::triggered, this,
            &MainForm::saveSettingsClick);
    launcher_ = std::make_unique<launch::GameLauncher>(platform_, *holders_, record_,
                                                       [this] { return saveGUISettings(); });
    connect(&findControl<QPushButton>(form, "Command1"), &QPushButton::clicked, this, [this] {
        launcher_->command1Click();
        if (closeRequested_) {
            window_->close();  // asked for while the game ran
        }
    });
    connect(&findControl<QAction>(form, "RegFiles"), &QAction::triggered, this,
            [this] { filetypes::regFilesClick(platform_.fileTypes, platform_.program); });
    connect(&findControl<QAction>(form, "Exit"), &QAction::triggered, window_.get(),
            &QWidget::close);
    connect(window_.get(), &MainWindow::queryUnload, this, &MainForm::queryUnload);

    gamePicker_ = std::make_unique<launch::GamePicker>(
        launch::GameSelectContext{*holders_, platform_.events, [this] { emit showGamePicture(); }});
    connect(&findControl<QAbstractButton>(form, "Command2"), &QAbstractButton::clicked, this,
            [this] { gamePicker_->open(record_.romPath); });

    pictureBox_ = std::make_unique<pictures::PictureBox>(findControl<QLabel>(form, "Image2"),
                                                       findControl<QLabel>(form, "PicStatus"),
                                                       findControl<QTabWidget>(form, "SSTab1"));
    pictureLinks_ =
        std::make_unique<pictures::PictureLinks>(platform_, *holders_, record_, store_, *pictureBox_);
    connect(this, &MainForm::showGamePicture, this, [this] { pictureLinks_->showGamePicture(); });
    connect(&findControl<QPushButton>(form, "Command15"), &QPushButton::clicked, this,
            [this] { pictureLinks_->command15Click(); });
    connect(&findControl<QAction>(form, "Opt"), &QAction::triggered, this,
            [this] { dialogs::OptionsWindow::open(record_, *window_); });
    connect(&findControl<QAction>(form, "About"), &QAction::triggered, this, [this] {
        // One About box at a time; it goes once closed.
        if (about_ == nullptr) {
            about_ = new dialogs::LoadingWindow(window_.get());
            about_->setAttribute(Qt::WA_DeleteOnClose);
            connect(about_, &dialogs::LoadingWindow::closed, this, [this] { about_ = nullptr; });
        }
        about_->showAsAbout();
    });

    playlistEditor_ = std::make_unique<music::PlaylistEditor>(
        music::PlaylistEditorContext{platform_.fileDialogs, platform_.messages, platform_.program,
                                     [this] { return record_.romPath; }});
    connect(&findControl<QAbstractButton>(form, "Command10"), &QAbstractButton::clicked, this,
            [this] { playlistEditor_->open(); });
}

MainForm::~MainForm() = default;

dialogs::LoadingWindow* MainForm::about() const {
    return about_;
}

void MainForm::progress(int position) {
    platform_.events.process();
    // A click may have closed the splash; loading goes on without showing it again.
    if (splash_ != nullptr) {
        splash_->setProgress(position);
    }
}

void MainForm::requestClose() {
    if (loading_ || launcher_->running()) {
        closeRequested_ = true;
        return;
    }
    window_->close();
}

void MainForm::wireMusic() {
    QWidget& form = *window_;
    songList_ = std::make_unique<music::ComboSongList>(findControl<QComboBox>(form, "MusicList"));
    auto& tabs = findControl<QTabWidget>(form, "SSTab1");
    music_ = std::make_unique<music::MusicPlayerControl>(
        platform_, *holders_, record_, *songList_, *timer1_, *countdown1_,
        music::MusicWindow{[this] { window_->show(); },
                           [&tabs] { tabs.setCurrentIndex(kMusicTab); }});
    music::MusicPlayerControl* music = music_.get();
    const auto button = [&form](const char* name) { return &findControl<QPushButton>(form, name); };
    connect(button("Command13"), &QPushButton::clicked, this, [music] { music->command13Click(); });
    connect(button("Command14"), &QPushButton::clicked, this, [music] { music->command14Click(); });
    connect(button("Command9"), &QPushButton::clicked, this, [music] { music->command9Click(); });
    connect(button("Command11"), &QPushButton::clicked, this, [music] { music->command11Click(); });
    connect(this, &MainForm::getCommandLine, this, [music] { music->getCommandLine(); });
}

void MainForm::formLoad() {
    QWidget& form = *window_;
    loading_ = true;
    timer1_ = platform_.timers.createIntervalTimer();
    countdown1_ = platform_.timers.createCountdown();
    wireMusic();

    splash_ = std::make_unique<dialogs::LoadingWindow>();
    connect(splash_.get(), &dialogs::LoadingWindow::closed, this,
            [this] { splash_.release()->deleteLater(); });
    splash_->show();

    findControl<QComboBox>(form, "Combo1")
        .addItems({QStringLiteral("8000Hz"), QStringLiteral("11025Hz"), QStringLiteral("22050Hz"),
                   QStringLiteral("44100Hz")});
    for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4", "P2input"}) {
        holders_->setListIndex(name, 0);
    }
    holders_->setListIndex("P1input", 1);
    holders_->setSliderValue("Slider1", 100);

    if (store_.openKey(settings::kRootKey)) {
        progress(kProgressRootOpened);
        settings::loadSettings(store_, *holders_, [this](int position) { progress(position); });
    }
    progress(kProgressLoaded);

    interlocks_->writeSliderLabels();
    auto& linkPaths = findControl<QComboBox>(form, "LinkPaths");
    linkPaths.setCurrentIndex(0);

    platform_.events.process();
    if (!gmLabel_->text().isEmpty()) {
        emit showGamePicture();
    }
    progress(kProgressDone);
    if (splash_ != nullptr) {
        splash_->close();
    }
    emit getCommandLine();
    loading_ = false;
    if (closeRequested_) {
        window_->close();
    }
}

bool MainForm::saveGUISettings() {
    if (settings::saveGUISettings(store_, *holders_)) {
        return true;
    }
    std::fprintf(stderr, "velmor: the settings were not saved: %s\n", store_.problem().c_str());
    return false;
}

void MainForm::saveSettingsClick() {
    if (!saveGUISettings()) {
        platform_.messages.show("The settings could not be saved: " + store_.problem() + ".");
    }
}

void MainForm::queryUnload() {
    if (record_.closeSpc && music_ != nullptr) {
        music_->closePlayerOnExit();
    }
    saveGUISettings();
    platform_.events.process();
}

}  // namespace velmor::app
