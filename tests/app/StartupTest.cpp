#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "app/FormTestSupport.h"
#include "dialogs/LoadingWindow.h"
#include "settings/Catalogue.h"

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
    EXPECT_EQ(labelText("Label7"), "Percentage of CPU cycles to Execute:  100");
    EXPECT_EQ(labelText("Label14"), "Frame Skip:  0");
    EXPECT_EQ(labelText("Label13"), "Gamma Correction:  0");
    EXPECT_EQ(pictures.count(), 0);
    EXPECT_EQ(commandLine.count(), 1);
    EXPECT_EQ(form->splash(), nullptr);
}

TEST_F(Startup, TheSplashAdvancesThroughItsFixedPositionsAndTimersComeFirst) {
    load();
    std::vector<int> expected;
    for (int p = 5; p <= 200; p += 5) {
        expected.push_back(p);
    }
    EXPECT_EQ(positions, expected);
    ASSERT_GE(fake.log.size(), 2u);
    EXPECT_EQ(fake.log[0], "create Timer");
    EXPECT_EQ(fake.log[1], "create Countdown");
    EXPECT_FALSE(form->timer1()->enabled());
    EXPECT_FALSE(form->countdown1()->enabled());
}

TEST_F(Startup, WithoutARootKeyNothingIsReadOrWrittenAndTheStartStateStays) {
    fake.registry.failCreate = true;
    QSignalSpy commandLine(form.get(), &app::MainForm::getCommandLine);
    load();
    EXPECT_TRUE(fake.registry.writes.empty());
    EXPECT_EQ(positions, (std::vector<int>{195, 200}));
    EXPECT_FALSE(form->record().screenSaver || form->record().autoTab || form->record().closeSpc);
    EXPECT_EQ(labelText("Label7"), "Percentage of CPU cycles to Execute:  100");
    EXPECT_EQ(labelText("Label14"), "Frame Skip:  0");
    EXPECT_EQ(labelText("Label13"), "Gamma Correction:  0");
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
    EXPECT_TRUE(option("Option3").isChecked());
    EXPECT_FALSE(option("Option4").isChecked());
    EXPECT_FALSE(option("Option4").isEnabled());
    EXPECT_TRUE(option("Option5").isChecked());
    // 640x480 is not allowed in normal mode, but loading selects it all the same; its rule
    // enables the interpolation box, whose stored state is applied after.
    EXPECT_TRUE(option("Option11").isChecked());
    EXPECT_EQ(box("Check15").checkState(), Qt::Checked);
    EXPECT_EQ(box("Check15").text(), "Enable Eagle");
    EXPECT_EQ(slider("Slider2").value(), 3);
    EXPECT_EQ(labelText("Label13"), "Gamma Correction:  3");
}

TEST_F(Startup, StoredSettingsReachTheirControls) {
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
    EXPECT_FALSE(slider("Slider3").isEnabled());
    EXPECT_FALSE(get<QLabel>("Label14").isEnabled());
    EXPECT_EQ(slider("Slider3").value(), 4);  // loaded after the rule cleared it
    EXPECT_EQ(box("Check4").checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(labelText("Label7"), "Percentage of CPU cycles to Execute:  80");
    EXPECT_EQ(list("Combo3").currentIndex(), -1);
    EXPECT_EQ(get<QLineEdit>("Text2").text(), "45");
    EXPECT_FALSE(form->record().autoTab);
    EXPECT_EQ(list("P2input").currentText(), "Sidewinder Gamepad");
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
    int calls = 0;
    fake.events.onProcess = [&] {
        if (++calls == 3 && form->splash() != nullptr) {
            auto* splash = form->splash();
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
    std::size_t writesAtRequest = 0;
    int calls = 0;
    fake.events.onProcess = [&] {
        if (++calls == 4) {
            writesAtRequest = fake.registry.writes.size();
            form->requestClose();
        }
    };
    form->formLoad();
    EXPECT_TRUE(form->closeRequested());
    // Only the defaults of loading were written before the close's save, which then found
    // every stored value in its control.
    EXPECT_EQ(fake.registry.text(kInputKey, "Player 2 Input"), "5");
    EXPECT_EQ(fake.registry.text(kOptionsKey, "CPU Cycles"), "60");
    EXPECT_EQ(fake.registry.writes.size() - writesAtRequest,
              (settings::kSettings.size() - 2 - writesAtRequest) + settings::kSettings.size());
}

// Whatever another program left in the store, every control ends in a state it can hold.
TEST_F(Startup, GarbageInTheStoreLeavesEveryControlValid) {
    const std::string megabyte(1 << 20, '7');
    const std::vector<std::string> garbage = {"1e400",
                                              std::string(30, '9'),
                                              "-" + std::string(30, '9'),
                                              "-",
                                              "&HFFFF",
                                              "3",
                                              "-2",
                                              "65536",
                                              "2147483648",
                                              "0.5",
                                              std::string("\xff\xfe\xc3", 3),
                                              megabyte,
                                              "none"};
    for (const std::string& text : garbage) {
        FakePlatform platform;
        app::MainForm garbled(platform.platform);
        for (const auto& setting : settings::kSettings) {
            platform.registry.put(setting.key, setting.name, text);
        }
        garbled.formLoad();
        QWidget& w = garbled.window();
        for (auto* b : w.findChildren<QCheckBox*>()) {
            EXPECT_TRUE(b->checkState() == Qt::Unchecked || b->checkState() == Qt::Checked ||
                        b->checkState() == Qt::PartiallyChecked);
        }
        for (auto* l : w.findChildren<QComboBox*>()) {
            EXPECT_GE(l->currentIndex(), -1);
            EXPECT_LT(l->currentIndex(), std::max(1, l->count())) << l->objectName().toStdString();
        }
        for (auto* s : w.findChildren<QSlider*>()) {
            EXPECT_GE(s->value(), s->minimum());
            EXPECT_LE(s->value(), s->maximum());
        }
        // The store keeps what it had: loading does not overwrite present values.
        EXPECT_EQ(platform.registry.writes.size(), 0u) << text.substr(0, 20);
        garbled.saveGUISettings();  // and the garbled state saves without harm
        EXPECT_EQ(platform.registry.valueCount(), settings::kSettings.size());
    }
}

TEST_F(Startup, ANameThatIsNotUtf8IsSavedBackByteForByte) {
    const std::string name("Gam\xe9 (E).smc", 12);
    fake.registry.put(kRootKey, "Last Game", name);
    load();
    form->saveGUISettings();
    EXPECT_EQ(fake.registry.text(kRootKey, "Last Game"), name);
}

}  // namespace
}  // namespace velmor::test
