#include "settings/NumberRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace velmor::settings {
namespace {

TEST(NumericValue, ReadsTheLeadingNumberAndStopsAtTheFirstOtherCharacter) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"42", 42},    {"  7", 7},     {"-3", -3},     {"+5", 5},      {"1.5", 1.5},
        {".25", 0.25}, {"3.", 3},      {"1 2 3", 123}, {"- 4", -4},    {"12abc", 12},
        {"1e400", 1},  {"&HFFFF", 0},  {"abc", 0},     {"", 0},        {"-", 0},
        {".", 0},      {"1.2.3", 1.2}, {"--5", 0},     {"5-", 5},      {"007", 7},
        {"\t8\n", 8},  {"0x10", 0},    {"1,5", 1},     {"2.5 0", 2.5}, {"+-1", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(numericValue(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumericValue, NumbersBeyondADoubleBecomeInfinitiesOfTheirSign) {
    const std::string huge(400, '9');
    EXPECT_TRUE(std::isinf(numericValue(huge)) && numericValue(huge) > 0);
    EXPECT_TRUE(std::isinf(numericValue("-" + huge)) && numericValue("-" + huge) < 0);
    EXPECT_EQ(numericValue("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_DOUBLE_EQ(numericValue(std::string(30, '1')), 1.1111111111111111e29);
}

TEST(LeadingNumber, TimerTextsAlsoReadExponentsAndRadixPrefixesWhereSettingsStop) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        double timer;
        double setting;
    } cases[] = {{"4 5", 45, 45},      {"1\r2", 1, 12},  {"1.5E3", 1500, 1.5},    {"2d-1", 0.2, 2},
                 {"1 e 2", 100, 1},    {"1e+", 1, 1},    {"1e2.5", 100, 1},       {"e5", 0, 0},
                 {"-1e400", -inf, -1}, {"1e-400", 0, 1}, {"1234e306", inf, 1234}, {"& h 1F", 31, 0},
                 {"&HFG", 15, 0},      {"&O17", 15, 0},  {"&o8", 0, 0},           {"-&H10", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(leadingNumber(c.text, kTimerNumbers), c.timer);
        EXPECT_EQ(numericValue(c.text), c.setting);
    }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(roundHalfEven(-0.4), 0);
}

TEST(RoundHalfEven, RefusesWhatNoIntegerHolds) {
    EXPECT_FALSE(roundHalfEven(1e30));
    EXPECT_FALSE(roundHalfEven(-1e30));
    EXPECT_FALSE(roundHalfEven(9223372036854775808.0));
    EXPECT_FALSE(roundHalfEven(std::nan("")));
    EXPECT_FALSE(roundHalfEven(numericValue(std::string(400, '9'))));
    EXPECT_EQ(roundHalfEven(-9223372036854775808.0), INT64_MIN);
}

TEST(ShortestText, WritesTheValueBackWithoutPadding) {
    EXPECT_EQ(shortestText(numericValue("007")), "7");
    EXPECT_EQ(shortestText(numericValue("045")), "45");
    EXPECT_EQ(shortestText(numericValue("abc")), "0");
    EXPECT_EQ(shortestText(numericValue("1.50")), "1.5");
    EXPECT_EQ(shortestText(numericValue("-0")), "0");
    EXPECT_EQ(shortestText(numericValue("-2.25x")), "-2.25");
    EXPECT_EQ(shortestText(numericValue(std::string(400, '9'))), "0");
    EXPECT_DOUBLE_EQ(numericValue(shortestText(numericValue("123456789012345678"))),
                     123456789012345678.0);
}

}  // namespace
}  // namespace velmor::settings
