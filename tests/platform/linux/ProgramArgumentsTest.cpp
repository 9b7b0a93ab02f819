#include "platform/linux/ProgramArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmor::platform {
namespace {

using Action = ProgramArguments::Action;

TEST(ProgramArguments, TellsOptionsFromFiles) {
    struct Row {
        std::vector<std::string> words;
        Action action;
        std::size_t leading;
        std::vector<std::string> trailing;
    };
    const Row rows[] = {
        {{}, Action::Window, 0, {}},
        {{"/music/a b.spl"}, Action::Window, 1, {}},
        {{"-platform", "xcb", "song.spc"}, Action::Window, 3, {}},  // Qt's own, for Qt
        {{"--help"}, Action::Help, 1, {}},
        {{"-V"}, Action::Version, 1, {}},
        {{"--version", "-h"}, Action::Help, 2, {}},
        {{"--bogus"}, Action::Misuse, 1, {}},
        {{"song.spc", "--wine-prefix", "/p"}, Action::Misuse, 3, {}},
        {{"--wine-prefix", "/p", "--import-settings", "--odd name.reg"}, Action::Import, 4, {}},
        {{"--import-settings", "--help"}, Action::Import, 2, {}},  // a file of that name
        {{"--import-settings"}, Action::Misuse, 1, {}},
        {{"--import-settings", "a.reg", "--import-settings", "b.reg"}, Action::Misuse, 4, {}},
        {{"--import-settings", "a.reg", "song.spc"}, Action::Misuse, 3, {}},
        {{"--import-settings", "a.reg", "--", "song.spc"}, Action::Misuse, 2, {"song.spc"}},
        {{"--import-settings", "a.reg", "--wine-prefix"}, Action::Misuse, 3, {}},
        {{"--help", "--bogus"}, Action::Misuse, 2, {}},
        {{"--", "--bogus", "--"}, Action::Window, 0, {"--bogus", "--"}},
        {{"-z", "--", "--help"}, Action::Window, 1, {"--help"}},
        {{"--", "--import-settings", "x.reg"}, Action::Window, 0, {"--import-settings", "x.reg"}},
    };
    for (const Row& row : rows) {
        const ProgramArguments read = readProgramArguments(row.words);
        const std::string words = testing::PrintToString(row.words);
        EXPECT_EQ(read.action, row.action) << words;
        EXPECT_EQ(read.leading, row.leading) << words;
        EXPECT_EQ(read.trailing, row.trailing) << words;
        EXPECT_EQ(read.problem.empty(), row.action != Action::Misuse) << words;
    }
    // The import's own words, whatever they look like, and its prefix when given.
    const ProgramArguments import =
        readProgramArguments({"--wine-prefix", "--p", "--import-settings", "--odd name.reg"});
    EXPECT_EQ(import.importFile, "--odd name.reg");
    EXPECT_EQ(import.winePrefix, "--p");
    EXPECT_EQ(readProgramArguments({"--import-settings", "a.reg"}).winePrefix, std::nullopt);
    EXPECT_EQ(readProgramArguments({"--import-settings"}).problem,
              "--import-settings needs a file");
}

}  // namespace
}  // namespace velmor::platform
