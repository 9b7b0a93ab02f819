#include "app/MainForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/WidgetHolders.h"
#include "dialogs/LoadingWindow.h"
#include "dialogs/OptionsWindow.h"
#include "filetypes/RegisterFileTypes.h"
#include "interlocks/Interlocks.h"
#include "launch/GameLauncher.h"
#include "launch/GameSelect.h"
#include "music/ComboSongList.h"
#include "music/MusicPlayerControl.h"
#include "music/PlaylistEditor.h"
#include "paths/PathsTab.h"
#include "pictures/PictureBox.h"
#include "pictures/PictureLinks.h"
#include "settings/Controls.h"
#include "settings/FrontEndSettings.h"
#include "widgets/ControlKit.h"
#include "widgets/FindControl.h"

namespace velmor::app {

using widgets::findControl;
namespace {

constexpr int kProgressRootOpened = 5;
constexpr int kProgressLoaded = 195;
constexpr int kProgressDone = 200;

}  // namespace

MainForm::MainForm(platform::Platform& platform)
    : platform_(platform), store_(platform.registry), window_(std::make_unique<MainWindow>()) {
    holders_ = std::make_unique<WidgetHolders>(*window_, record_);
    // The option rules and the paths tab connect themselves to their controls; the window owns
    // them.
    interlocks_ = new interlocks::Interlocks(*window_);
    new paths::PathsTab(*window_, record_, platform_.fileDialogs, platform_.messages);
    wireMenus();
    wireLaunch();
    wireGamePicker();
    wirePictures();
    wirePlaylistEditor();
}

MainForm::~MainForm() = default;

void MainForm::wireMenus() {
    QWidget& form = *window_;
    const auto chosen = [&form](const controls::Control& item) {
        return &findControl<QAction>(form, item);
    };
    connect(chosen(controls::kSaveSettings), &QAction::triggered, this,
            &MainForm::saveSettingsClick);
    connect(chosen(controls::kRegFiles), &QAction::triggered, this,
            [this] { filetypes::regFilesClick(platform_.fileTypes, platform_.program); });
    connect(chosen(controls::kExit), &QAction::triggered, window_.get(), &QWidget::close);
    connect(window_.get(), &MainWindow::queryUnload, this, &MainForm::queryUnload);
    connect(chosen(controls::kOpt), &QAction::triggered, this, [this] {
        widgets::bringForward(options_.openOrMake(
            [this] { return std::make_unique<dialogs::OptionsWindow>(record_, window_.get()); }));
    });
    connect(chosen(controls::kAbout), &QAction::triggered, this, [this] {
        about_
            .openOrMake([this] { return std::make_unique<dialogs::LoadingWindow>(window_.get()); })
            .showAsAbout();
    });
}

void MainForm::wireLaunch() {
    launcher_ = std::make_unique<launch::GameLauncher>(platform_, *holders_, record_,
                                                       [this] { return saveGUISettings(); });
    connect(&findControl<QAbstractButton>(*window_, controls::kCommand1), &QAbstractButton::clicked,
            this, [this] {
                launcher_->command1Click();
                if (closeRequested_) {
                    window_->close();  // asked for while the game ran
                }
            });
}

void MainForm::wireGamePicker() {
    gamePicker_ = std::make_unique<launch::GamePicker>(
        launch::GameSelectContext{*holders_, platform_.events, [this] { emit showGamePicture(); }});
    connect(&findControl<QAbstractButton>(*window_, controls::kCommand2), &QAbstractButton::clicked,
            this, [this] { gamePicker_->open(record_.romPath); });
}

void MainForm::wirePictures() {
    QWidget& form = *window_;
    pictureBox_ =
        std::make_unique<pictures::PictureBox>(findControl<QLabel>(form, controls::kImage2),
                                               findControl<QLabel>(form, controls::kPicStatus),
                                               findControl<QTabWidget>(form, controls::kSSTab1));
    pictureLinks_ = std::make_unique<pictures::PictureLinks>(platform_, *holders_, record_, store_,
                                                             *pictureBox_);
    connect(this, &MainForm::showGamePicture, this, [this] { pictureLinks_->showGamePicture(); });
    connect(&findControl<QAbstractButton>(form, controls::kCommand15), &QAbstractButton::clicked,
            this, [this] { pictureLinks_->command15Click(); });
}

void MainForm::wirePlaylistEditor() {
    playlistEditor_ = std::make_unique<music::PlaylistEditor>(
        music::PlaylistEditorContext{platform_.fileDialogs, platform_.messages, platform_.program,
                                     [this] { return record_.romPath; }});
    connect(&findControl<QAbstractButton>(*window_, controls::kCommand10),
            &QAbstractButton::clicked, this, [this] { playlistEditor_->open(); });
}

void MainForm::wireMusic() {
    QWidget& form = *window_;
    songList_ =
        std::make_unique<music::ComboSongList>(findControl<QComboBox>(form, controls::kMusicList));
    auto& tabs = findControl<QTabWidget>(form, controls::kSSTab1);
    music_ = std::make_unique<music::MusicPlayerControl>(
        platform_, *holders_, record_, *songList_, *timer1_, *countdown1_,
        music::MusicWindow{[this] { window_->show(); },
                           [&tabs] { tabs.setCurrentIndex(controls::kMusicTab); }});
    music::MusicPlayerControl* music = music_.get();
    const auto clicked = [&form, this](const controls::Control& button, auto handler) {
        connect(&findControl<QAbstractButton>(form, button), &QAbstractButton::clicked, this,
                handler);
    };
    clicked(controls::kCommand13, [music] { music->command13Click(); });
    clicked(controls::kCommand14, [music] { music->command14Click(); });
    clicked(controls::kCommand9, [music] { music->command9Click(); });
    clicked(controls::kCommand11, [music] { music->command11Click(); });
    connect(this, &MainForm::getCommandLine, this, [music] { music->getCommandLine(); });
}

void MainForm::setStartState() {
    for (const controls::Control* control : controls::kAll) {
        if (control->itemsAtStartUp) {
            findControl<QComboBox>(*window_, *control).addItems(widgets::itemTexts(*control));
        }
        if (control->startIndex >= 0) {
            holders_->setListIndex(*control, control->startIndex);
        }
        if (control->kind == controls::Kind::Slider) {
            holders_->setSliderValue(*control, control->range.start);
        }
    }
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

void MainForm::formLoad() {
    loading_ = true;
    timer1_ = platform_.timers.createIntervalTimer();
    countdown1_ = platform_.timers.createCountdown();
    wireMusic();

    splash_ = std::make_unique<dialogs::LoadingWindow>();
    connect(splash_.get(), &dialogs::LoadingWindow::closed, this,
            [this] { splash_.release()->deleteLater(); });
    splash_->show();

    setStartState();
    if (store_.openKey(settings::kRootKey)) {
        progress(kProgressRootOpened);
        settings::loadSettings(store_, *holders_, [this](int position) { progress(position); });
    }
    progress(kProgressLoaded);

    interlocks_->writeSliderLabels();
    findControl<QComboBox>(*window_, controls::kLinkPaths).setCurrentIndex(0);

    platform_.events.process();
    if (!holders_->text(controls::kGmLabel).empty()) {
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
