#include <QAction>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "app/FormTestSupport.h"
#include "settings/Catalogue.h"

namespace velmor::test {
namespace {

using settings::kOptionsKey;

class Shutdown : public FormTest {
  protected:
    void SetUp() override { form->formLoad(); }
    void trigger(const char* action) { get<QAction>(action).trigger(); }
    // The outside actions after start-up, with every store write collapsed into one line.
    std::vector<std::string> actionsSince(std::size_t logStart, std::size_t writeStart) {
        std::vector<std::string> actions(fake.log.begin() + static_cast<long>(logStart),
                                         fake.log.end());
        if (fake.registry.writes.size() > writeStart) {
            actions.push_back("saved " + std::to_string(fake.registry.writes.size() - writeStart));
        }
        return actions;
    }
};

TEST_F(Shutdown, SaveSettingsNowWritesTheSameTextsEachTimeAndShowsNothing) {
    box("Check2").setCheckState(Qt::Checked);
    list("Combo4").setCurrentIndex(2);
    const std::size_t start = fake.registry.writes.size();
    trigger("SaveSettings");
    trigger("SaveSettings");
    const auto& writes = fake.registry.writes;
    ASSERT_EQ(writes.size() - start, 2 * settings::kSettings.size());
    for (std::size_t i = 0; i < settings::kSettings.size(); ++i) {
        EXPECT_EQ(writes[start + i].data, writes[start + settings::kSettings.size() + i].data);
    }
    EXPECT_EQ(fake.registry.text(settings::kSoundKey, "Sound Stereo"), "1");
    EXPECT_EQ(fake.registry.text(kOptionsKey, "ROM Settings"), "2");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(form->window().isVisible() || !form->window().isVisible());
}

TEST_F(Shutdown, TextTypedIntoAListIsSavedAsNoSelection) {
    form->window().show();
    get<QTabWidget>("SSTab1").setCurrentIndex(4);
    QComboBox& timing = list("Combo3");
    ASSERT_TRUE(timing.isEditable());  // its field is there once the tab is shown
    EXPECT_EQ(timing.currentText(), "auto");
    timing.lineEdit()->selectAll();
    QTest::keyClicks(timing.lineEdit(), "SECAM");
    trigger("SaveSettings");
    EXPECT_EQ(fake.registry.text(kOptionsKey, "Timing"), "-1");
    EXPECT_EQ(timing.count(), 3);  // the typed entry is not added
    timing.setCurrentIndex(2);
    trigger("SaveSettings");
    EXPECT_EQ(fake.registry.text(kOptionsKey, "Timing"), "2");
}

TEST_F(Shutdown, ExitClosesThePlayerStopsTheTimersAndThenSaves) {
    fake.playerWindow.present = true;
    form->window().show();
    const std::size_t logStart = fake.log.size();
    const std::size_t writeStart = fake.registry.writes.size();
    const int processedBefore = fake.events.processed;
    trigger("Exit");
    EXPECT_FALSE(form->window().isVisible());
    EXPECT_EQ(actionsSince(logStart, writeStart),
              (std::vector<std::string>{"activate SPCPLAY", "key Return", "key Tab",
                                        "Countdown1 off", "Timer1 off", "saved 41"}));
    EXPECT_EQ(fake.events.processed - processedBefore, 3);
}

TEST_F(Shutdown, TheCloseBoxSavesLikeExitEvenWithNoPlayerRunning) {
    form->window().show();
    const std::size_t logStart = fake.log.size();
    const std::size_t writeStart = fake.registry.writes.size();
    EXPECT_TRUE(form->window().close());
    EXPECT_EQ(actionsSince(logStart, writeStart),
              (std::vector<std::string>{"activate SPCPLAY (none)", "Countdown1 off", "Timer1 off",
                                        "saved 41"}));
}

TEST_F(Shutdown, WithCloseSpcOffThePlayerIsLeftAloneAndTheFlagIsSaved) {
    form->record().closeSpc = false;
    fake.playerWindow.present = true;
    const std::size_t logStart = fake.log.size();
    const std::size_t writeStart = fake.registry.writes.size();
    form->window().close();
    EXPECT_EQ(actionsSince(logStart, writeStart), (std::vector<std::string>{"saved 41"}));
    EXPECT_EQ(fake.registry.text(kOptionsKey, "CloseSPC"), "False");
}

TEST_F(Shutdown, ACloseIsNeverRefusedWhenTheStoreFails) {
    fake.registry.failCreate = true;
    form->window().show();
    EXPECT_TRUE(form->window().close());
    EXPECT_FALSE(form->window().isVisible());
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace velmor::test
