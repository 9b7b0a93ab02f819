#include "launch/GameLauncher.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "launch/EmulatorCommandLine.h"
#include "launch/ExtractedRomPath.h"
#include "launch/Unzip.h"
#include "platform/Files.h"
#include "platform/UniqueFd.h"
#include "settings/Holders.h"
#include "settings/SettingsRecord.h"

namespace velmor::launch {
namespace {

constexpr std::string_view kGameLabel = "GmLabel";
constexpr std::string_view kNewGfxBox = "Check19";
constexpr std::string_view kNoGame = "You must choose a game";
constexpr std::string_view kRomNotFound =
    "The ROM Image was not located in the ZIP file.  Check the Velmor Readme file.";
constexpr std::string_view kReplaceTitle = "VBUnzip - File already exists";
constexpr std::string_view kLockName = ".velmor-launch.lock";

// Holds the extraction folder for one zip launch: another copy of the program cannot extract
// into it, nor clear it, while a game of this one runs from it.
class FolderLock final {
  public:
    explicit FolderLock(const std::filesystem::path& folder)
        : fd_(::open((folder / kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                     0600)) {
        held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~FolderLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return held_; }

  private:
    int fd_;
    bool held_ = false;
};

// Removes what a launch that was cut short (the program killed while its game ran) left in the
// extraction folder, so that nothing of it is ever launched by mistake.
void clearLeftovers(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename() != kLockName) {
            std::filesystem::remove_all(entry.path(), error);
        }
    }
}

}  // namespace

GameLauncher::GameLauncher(platform::Platform& platform, settings::Holders& holders,
                           const settings::SettingsRecord& record, std::function<bool()> save)
    : platform_(platform), holders_(holders), record_(record), save_(std::move(save)) {}

void GameLauncher::command1Click() {
    if (running_) {
        return;  // one game at a time
    }
    save_();
    if (!record_.screenSaver) {
        platform_.screenSaver.setActive(false);
        screenSaverOff_ = true;
    }
    const std::string switches = emulatorCommandLine(readEmulatorOptions(holders_));
    const std::string game = holders_.text(kGameLabel);
    const std::string shortGamePath = platform_.shortNames.shortName(record_.romPath + "/" + game);
    if (game.empty()) {
        platform_.messages.show(kNoGame);
        screenSaverBack();
        return;
    }
    const std::string& zsnes = record_.zsnesPath;
    if (!emulatorUsable(zsnes)) {
        screenSaverBack();
        return;
    }
    if (!writeEmulatorConfig(zsnes, holders_.boxState(kNewGfxBox),
                             platform_.shortNames.shortName(record_.savePath))) {
        platform_.messages.show("The ZSNES configuration file " +
                                emulatorConfigPath(zsnes).value_or(zsnes) +
                                " could not be written.  Check that its folder can be written.");
        screenSaverBack();
        return;
    }
    running_ = true;
    if (game.ends_with("zip")) {
        zipLaunch(switches, shortGamePath);
    } else {
        platform_.processes.executeAndWait(platform_.shortNames.shortName(zsnes) + switches + " " +
                                           shortGamePath);
        screenSaverBack();
    }
    running_ = false;
}

bool GameLauncher::emulatorUsable(const std::string& zsnesLocation) {
    if (zsnesLocation.find_first_not_of(' ') == std::string::npos) {
        platform_.messages.show(
            "No ZSNES executable is set.  Choose it on the Paths tab under ZSNES Executable.");
        return false;
    }
    if (const auto problem = platform::programProblem(zsnesLocation, "ZSNES", "ZSNES Executable")) {
        platform_.messages.show(*problem);
        return false;
    }
    return true;
}

void GameLauncher::zipLaunch(const std::string& switches, const std::string& shortGamePath) {
    unzipMessageText_.clear();
    const auto folder = platform::privateFolder("temp");
    std::optional<FolderLock> lock;
    if (folder) {
        lock.emplace(*folder);
        if (!lock->held()) {
            platform_.messages.show(
                "Another copy of Velmor is running a game from a zip archive.  Try again when "
                "it has ended.");
            screenSaverBack();
            return;
        }
        clearLeftovers(*folder);
        const UnzipCallbacks callbacks{
            [this](std::string_view text) { unzipMessageText_ += text; },
            [this](std::string_view path) {
                switch (
                    platform_.messages.ask("Overwrite " + std::string(path) + "?", kReplaceTitle)) {
                    case platform::Messages::Answer::Yes:
                        return kReplaceYes;
                    case platform::Messages::Answer::No:
                        return kReplaceNo;
                    case platform::Messages::Answer::Cancel:
                        break;
                }
                return kReplaceNone;
            }};
        unzipArchive(shortGamePath, folder->string(), false, true, false, false, {}, {}, callbacks);
    }
    extractedRomPath_ = launch::extractedRomPath(unzipMessageText_);
    const std::string& zsnes = record_.zsnesPath;
    runExtractedGame(std::string(platform::kShellPrefix) + platform_.shortNames.shortName(zsnes) +
                         switches + " " + platform_.shortNames.shortName(extractedRomPath_),
                     folder ? folder->string() : std::string());
}

void GameLauncher::runExtractedGame(const std::string& commandLine, const std::string& folder) {
    platform_.processes.startShellAndWait(commandLine);
    platform_.events.process();
    // Only a file that the extraction wrote is ever deleted: a report of another shape can give
    // a path that names something else.
    const std::filesystem::path rom(extractedRomPath_);
    if (!folder.empty() && rom.parent_path() == folder && platform::fileExists(extractedRomPath_)) {
        std::error_code ignored;
        std::filesystem::remove(rom, ignored);
    } else {
        platform_.messages.show(kRomNotFound);
    }
    screenSaverBack();
}

void GameLauncher::screenSaverBack() {
    if (screenSaverOff_) {
        platform_.screenSaver.setActive(true);
        screenSaverOff_ = false;
    }
}

}  // namespace velmor::launch
