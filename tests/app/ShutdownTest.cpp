#include <QAction>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "settings/Catalogue.h"
#include "support/FormTest.h"

namespace velmor::test {
namespace {

using settings::kOptionsKey;
using Log = std::vector<std::string>;
const std::string kSavedAll = "saved " + std::to_string(settings::kSettings.size());

class Shutdown : public FormTest {
  protected:
    void SetUp() override {
        form->formLoad();
        logStart_ = fake.log.size();
        writeStart_ = fake.registry.writes.size();
    }
    void trigger(const char* action) { get<QAction>(action).trigger(); }
    // The outside actions after start-up, with every store write collapsed into one line.
    std::vector<std::string> actions() {
        std::vector<std::string> actions(fake.log.begin() + static_cast<long>(logStart_),
                                         fake.log.end());
        if (fake.registry.writes.size() > writeStart_) {
            actions.push_back("saved " + std::to_string(fake.registry.writes.size() - writeStart_));
        }
        return actions;
    }
    std::size_t logStart_ = 0;
    std::size_t writeStart_ = 0;
};

TEST_F(Shutdown, ASaveTheStoreRefusesIsSaidInAMessageNotPassedOffAsDone) {
    fake.registry.failBatch = true;
    trigger("SaveSettings");
    EXPECT_EQ(fake.messages.shown,
              std::vector<std::string>{"The settings could not be saved: the store is busy."});
    form->window().close();  // the close says it on standard error only
    EXPECT_EQ(fake.messages.shown.size(), 1U);
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
}

TEST_F(Shutdown, ExitClosesThePlayerStopsTheTimersAndThenSaves) {
    fake.playerWindow.present = true;
    form->window().show();
    fake.events.onProcess = [this] { fake.log.push_back("events"); };
    trigger("Exit");
    EXPECT_FALSE(form->window().isVisible());
    // The player has the chance to act on its keys before anything else happens.
    EXPECT_EQ(actions(), (Log{"activate SPCPLAY", "key Return", "key Tab", "events", "events",
                              "Countdown1 off", "Timer1 off", "events", kSavedAll}));
}

TEST_F(Shutdown, TheCloseBoxSavesLikeExitEvenWithNoPlayerRunning) {
    form->window().show();
    EXPECT_TRUE(form->window().close());
    EXPECT_EQ(actions(),
              (Log{"activate SPCPLAY (none)", "Countdown1 off", "Timer1 off", kSavedAll}));
}

TEST_F(Shutdown, WithCloseSpcOffThePlayerIsLeftAloneAndTheFlagIsSaved) {
    form->record().closeSpc = false;
    fake.playerWindow.present = true;
    form->window().close();
    EXPECT_EQ(actions(), Log{kSavedAll});
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
