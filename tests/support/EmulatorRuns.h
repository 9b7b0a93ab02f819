#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::test {

// One start of the stand-in emulator (or player), as its log tells it.
struct EmulatorRun {
    std::vector<std::string> words;     // the program's own name first
    std::vector<std::string> contents;  // what the file each word names begins with; "-" for none
    std::string folder;                 // its working folder
};

// The starts the log written by fake_emulator holds, each complete.
std::vector<EmulatorRun> readRuns(const std::filesystem::path& log);

}  // namespace velmor::test
