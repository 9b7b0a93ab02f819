#include <gtest/gtest.h>

#include "music/PlayerCommandLine.h"
#include "music/SongTime.h"
#include "support/FakePlatform.h"

namespace velmor::music {
namespace {

TEST(PlayerCommandLine, SwitchesInFixedOrderFromTickedBoxesOnlyTwoBlanksAfterTheProgram) {
    EXPECT_EQ(playerSwitches({1, 1, 1, 1, 3}), " -8 -q -x -z -r 3");
    EXPECT_EQ(playerSwitches({2, 1, 2, 0, -1}), " -q");  // grayed boxes, no rate
    test::FakeShortNames shortNames;
    shortNames.names = {{"/spc/Spc Play", "/spc/SPCPLA~1"}};
    shortNames.unknownIsMissing = true;  // a song that is gone leaves its part empty
    EXPECT_EQ(playerCommandLine(shortNames, "/spc/Spc Play", "", "/gone.spc"), "/spc/SPCPLA~1  ");
}

TEST(SongTime, MinutesAndSecondsBecomeMillisecondsOrNothingWhenNoTimerCouldTakeThem) {
    const struct {
        const char* minutes;
        const char* seconds;
        std::optional<int> milliseconds;
    } cases[] = {{"0", "30", 30000},       {"2", "90", 210000},
                 {"1.5", "0", 90000},      {"abc", "30", 30000},
                 {"1:30", "", 60000},      {"&H1", "1e1", 70000},
                 {"0", "0.0025", 2},       {"35791", "23.647", 2147483647},
                 {"35791", "23.6475", {}}, {"2147483647", "0", {}},
                 {"0", "0.0004", {}},      {"-1", "30", {}},
                 {"1e400", "-1e400", {}},      {"&O17", "2d-1", 900200},
                 {"1e-400", "30", 30000},      {"-&H10", "1\r2", 1000}};
    for (const auto& c : cases) {
        EXPECT_EQ(songTimeMilliseconds(c.minutes, c.seconds), c.milliseconds)
            << c.minutes << " : " << c.seconds;
    }
}

TEST(CountdownText, ShowsMinutesAndTwoDigitSecondsRoundedHalfToEven) {
    const std::pair<int, const char*> cases[] = {
        {90000, "1 : 30"}, {5499, "0 : 05"}, {59500, "1 : 00"}, {600000, "10 : 00"},
        {0, "0 : 00"},     {1500, "0 : 02"}, {2500, "0 : 02"},  {2147483647, "35791 : 24"}};
    for (const auto& [remaining, shown] : cases) {
        EXPECT_EQ(countdownText(remaining), std::string("Time to next song:  ") + shown)
            << remaining;
    }
}

}  // namespace
}  // namespace velmor::music
