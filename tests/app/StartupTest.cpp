#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/LoadingWindow.h"
#include "settings/Catalogue.h"
#include "support/FormTest.h"

namespace velmor::test {
namespace {

using settings::kInputKey;
using settings::kOptionsKey;
using settings::kPathsKey;
using settings::kRootKey;
using settings::kSoundKey;
using settings::kVideoKey;

class Startup : public FormTest {
  protected:
    // Runs start-up, noting every position the splash's bar takes.
    void load() {
        fake.events.onProcess = [this] {
            if (auto* splash = form->splash(); splash != nullptr && !watching_) {
                watching_ = true;
                QObject::connect(splash, &dialogs::LoadingWindow::progressChanged,
                                 [this](int value) { positions.push_back(value); });
            }
        };
        form->formLoad();
    }
    QString sliderLabels() {
        return labelText("Label7") + "|" + labelText("Label14") + "|" + labelText("Label13");
    }
    const QString kStartLabels =
        "Percentage of CPU cycles to Execute:  100|Frame Skip:  0|Gamma Correction:  0";
    std::vector<int> positions;
    bool watching_ = false;
};

TEST_F(Startup, FirstRunShowsTheStartStateAndStoresEveryDefault) {
    QSignalSpy pictures(form.get(), &app::MainForm::showGamePicture);
    QSignalSpy commandLine(form.get(), &app::MainForm::getCommandLine);
    load();
    EXPECT_EQ(fake.registry.valueCount(), settings::kSettings.size());
    for (const auto& setting : settings::kSettings) {
        EXPECT_EQ(fake.registry.text(setting.key, setting.name), std::string(setting.defaultText))
            << setting.name;
    }
    for (auto* b : form->window().findChildren<QCheckBox*>()) {
        EXPECT_TRUE(b->checkState() == Qt::Unchecked && b->isEnabled())
            << b->objectName().toStdString();
    }
    for (auto* o : form->window().findChildren<QRadioButton*>()) {
        EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
    }
    EXPECT_EQ(list("Combo1").count(), 4);
    EXPECT_EQ(list("Combo1").currentText(), "8000Hz");
    EXPECT_EQ(list("Combo2").currentIndex() + list("Combo3").currentIndex() +
                  list("Combo4").currentIndex(),
              0);
    EXPECT_EQ(list("P1input").currentText(), "Keyboard");
    EXPECT_EQ(list("P2input").currentText(), "Disable");
    EXPECT_EQ(get<QLineEdit>("Text1").text() + ":" + get<QLineEdit>("Text2").text(), "0:30");
    EXPECT_EQ(labelText("GmLabel"), "");
    EXPECT_TRUE(form->record().screenSaver && form->record().autoTab && form->record().closeSpc);
    EXPECT_EQ(sliderLabels(), kStartLabels);
    EXPECT_EQ(pictures.count(), 0);
    EXPECT_EQ(commandLine.count(), 1);
    EXPECT_EQ(form->splash(), nullptr);
    std::vector<int> expected;
    for (int p = 5; p <= 200; p += 5) {
        expected.push_back(p);
    }
    EXPECT_EQ(positions, expected);
    // The timers come first, and stay quiet.
    EXPECT_EQ(std::vector<std::string>(fake.log.begin(), fake.log.begin() + 2),
              (std::vector<std::string>{"create Timer", "create Countdown"}));
    EXPECT_FALSE(form->timer1()->enabled() || form->countdown1()->enabled());
}

TEST_F(Startup, WithoutARootKeyNothingIsReadOrWrittenAndTheStartStateStays) {
    fake.registry.failCreate = true;
    QSignalSpy commandLine(form.get(), &app::MainForm::getCommandLine);
    load();
    EXPECT_TRUE(fake.registry.writes.empty());
    EXPECT_EQ(positions, (std::vector<int>{195, 200}));
    EXPECT_FALSE(form->record().screenSaver || form->record().autoTab || form->record().closeSpc);
    EXPECT_EQ(sliderLabels(), kStartLabels);
    EXPECT_EQ(list("P1input").currentIndex(), 1);
    EXPECT_EQ(commandLine.count(), 1);
}

TEST_F(Startup, TheVideoModeRuleRunsAfterTheColourDepthIsLoaded) {
    fake.registry.put(kVideoKey, "# of Colors", "16-bit");
    fake.registry.put(kVideoKey, "Video Mode", "normal");
    fake.registry.put(kVideoKey, "Resolution", "640x480");
    fake.registry.put(kVideoKey, "Interpolation", "1");
    fake.registry.put(kVideoKey, "Gamma Correction", "3");
    load();
    EXPECT_TRUE(option("Option3").isChecked() && option("Option5").isChecked());
    EXPECT_FALSE(option("Option4").isChecked() || option("Option4").isEnabled());
    // 640x480 is not allowed in normal mode, but loading selects it all the same; its rule
    // enables the interpolation box, whose stored state is applied after.
    EXPECT_TRUE(option("Option11").isChecked());
    EXPECT_EQ(box("Check15").checkState(), Qt::Checked);
    EXPECT_EQ(box("Check15").text(), "Enable Eagle");
    EXPECT_EQ(slider("Slider2").value(), 3);
    EXPECT_EQ(labelText("Label13"), "Gamma Correction:  3");
}

TEST_F(Startup, StoredSettingsReachTheirControls) {
    const std::string notUtf8("Gam\xe9 (E).smc", 12);  // saved back byte for byte
    fake.registry.put(kRootKey, "Last Game", notUtf8);
    fake.registry.put(kPathsKey, "ZSNES Location", "/usr/games/zsnes");
    fake.registry.put(kSoundKey, "Sound Enabled", "true");
    fake.registry.put(kSoundKey, "Sound Rate", "3");
    fake.registry.put(kVideoKey, "Auto Frame Skip", "1");
    fake.registry.put(kVideoKey, "Frame Skip", "4");
    fake.registry.put(kOptionsKey, "Disable GUI", "2");
    fake.registry.put(kOptionsKey, "CPU Cycles", "80");
    fake.registry.put(kOptionsKey, "Timing", "-1");
    fake.registry.put(kOptionsKey, "SPC Timer Seconds", "045");
    fake.registry.put(kOptionsKey, "AutoTab", "False");
    fake.registry.put(kInputKey, "Player 2 Input", "6");
    load();
    EXPECT_EQ(get<QLineEdit>("Paths").text(), "/usr/games/zsnes");
    EXPECT_EQ(box("Check1").checkState(), Qt::Unchecked);
    EXPECT_EQ(list("Combo1").currentText(), "44100Hz");
    EXPECT_EQ(box("Check12").checkState(), Qt::Checked);
    EXPECT_FALSE(slider("Slider3").isEnabled() || get<QLabel>("Label14").isEnabled());
    EXPECT_EQ(slider("Slider3").value(), 4);  // loaded after the rule cleared it
    EXPECT_EQ(box("Check4").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(labelText("Label7"), "Percentage of CPU cycles to Execute:  80");
    EXPECT_EQ(list("Combo3").currentIndex(), -1);
    EXPECT_EQ(get<QLineEdit>("Text2").text(), "45");
    EXPECT_FALSE(form->record().autoTab);
    EXPECT_EQ(list("P2input").currentText(), "Sidewinder Gamepad");
    form->saveGUISettings();
    EXPECT_EQ(fake.registry.text(kRootKey, "Last Game"), notUtf8);
}

TEST_F(Startup, ARestoredGameAsksForItsPictureAfterTheSliderLabels) {
    fake.registry.put(kRootKey, "Last Game", "Mario World.smc");
    QString labelAtPicture;
    QObject::connect(form.get(), &app::MainForm::showGamePicture,
                     [&] { labelAtPicture = labelText("Label7"); });
    load();
    EXPECT_EQ(labelText("GmLabel"), "Mario World.smc");
    EXPECT_EQ(labelAtPicture, "Percentage of CPU cycles to Execute:  100");
}

TEST_F(Startup, AClickOnTheSplashClosesItAndLoadingGoesOn) {
    fake.registry.put(kInputKey, "Player 2 Input", "2");
    // Clicked once its bar has moved: loading is under way.
    fake.events.onProcess = [&] {
        if (auto* splash = form->splash(); splash != nullptr && splash->progress() > 0) {
            QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(2, splash->height() - 3));
        }
    };
    QSignalSpy commandLine(form.get(), &app::MainForm::getCommandLine);
    form->formLoad();
    EXPECT_EQ(form->splash(), nullptr);
    EXPECT_EQ(list("P2input").currentIndex(), 2);
    EXPECT_EQ(commandLine.count(), 1);
}

TEST_F(Startup, ACloseAskedForWhileLoadingWaitsForTheLastSetting) {
    fake.registry.put(kInputKey, "Player 2 Input", "5");
    fake.registry.put(kOptionsKey, "CPU Cycles", "60");
    // Asked for once loading has written the first default.
    std::size_t writesAtRequest = 0;
    fake.events.onProcess = [&] {
        if (writesAtRequest == 0 && !fake.registry.writes.empty()) {
            writesAtRequest = fake.registry.writes.size();
            form->requestClose();
        }
    };
    form->formLoad();
    ASSERT_TRUE(form->closeRequested());
    // Only the defaults of loading were written before the close's save, which then found
    // every stored value in its control.
    EXPECT_EQ(fake.registry.text(kInputKey, "Player 2 Input"), "5");
    EXPECT_EQ(fake.registry.text(kOptionsKey, "CPU Cycles"), "60");
    EXPECT_EQ(fake.registry.writes.size() - writesAtRequest,
              (settings::kSettings.size() - 2 - writesAtRequest) + settings::kSettings.size());
}

// Whatever another program left in the store loads without harm (the sanitizer build watches
// for undefined behaviour), is not written over by loading, and saves back.
TEST_F(Startup, GarbageInTheStoreLoadsAndSavesWithoutHarm) {
    for (const std::string& text :
         {std::string("1e400"), std::string(30, '9'), "-" + std::string(400, '9'), std::string("-"),
          std::string("&HFFFF"), std::string("2147483648"), std::string("\xff\xfe\xc3", 3),
          std::string(1 << 20, '7')}) {
        FakePlatform platform;
        app::MainForm garbled(platform.platform);
        for (const auto& setting : settings::kSettings) {
            platform.registry.put(setting.key, setting.name, text);
        }
        garbled.formLoad();
        // No setting is rewritten; the restored game's first picture lookup leaves its empty link.
        ASSERT_EQ(platform.registry.writes.size(), 1u) << text.substr(0, 20);
        EXPECT_EQ(platform.registry.writes[0].name, text);
        EXPECT_EQ(platform.registry.writes[0].data, std::string(1, '\0'));
        garbled.saveGUISettings();
        EXPECT_EQ(platform.registry.valueCount(), settings::kSettings.size() + 1);
    }
}

}  // namespace
}  // namespace velmor::test
