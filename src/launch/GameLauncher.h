#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"
#include "platform/linux/ProgramKind.h"

namespace velmor::settings {
class Holders;
struct SettingsRecord;
}  // namespace velmor::settings

namespace velmor::launch {

// What the LAUNCH button does: saves the settings, writes the emulator's configuration file and
// starts the emulator on the current game, directly or out of a zip archive.
class GameLauncher final {
  public:
    // `save` saves every setting as "Save Settings Now" does.
    GameLauncher(platform::Platform& platform, settings::Holders& holders,
                 const settings::SettingsRecord& record, std::function<bool()> save);

    // LAUNCH. Does nothing while a game started by it is still running.
    void command1Click();

    bool running() const { return running_; }

  private:
    // The emulator named by "ZSNES Location", checked before anything is written beside it; a
    // message says what is wrong with it otherwise.
    std::optional<platform::ProgramToRun> usableEmulator(const std::string& zsnesLocation);
    void zipLaunch(const platform::ProgramToRun& emulator, const std::string& switches,
                   const std::string& gamePath);
    // Runs the game, the lock handed on to it, then empties the extraction folder.
    void runExtractedGame(const platform::ProgramToRun& emulator, const std::string& switches,
                          const std::string& folder, int lockFd);

    platform::Platform& platform_;
    settings::Holders& holders_;
    const settings::SettingsRecord& record_;
    std::function<bool()> save_;
    // The report of the last extraction, and the ROM file taken from it.
    std::string unzipMessageText_;
    std::string extractedRomPath_;
    bool running_ = false;
};

}  // namespace velmor::launch
