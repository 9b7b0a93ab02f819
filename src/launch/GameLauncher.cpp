#include "launch/GameLauncher.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <system_error>

#include "launch/EmulatorCommandLine.h"
#include "launch/ExtractedRomPath.h"
#include "launch/Unzip.h"
#include "platform/UniqueFd.h"
#include "platform/linux/Files.h"
#include "settings/Blanks.h"
#include "settings/Controls.h"
#include "settings/Holders.h"
#include "settings/SettingsRecord.h"

namespace velmor::launch {
namespace {

constexpr std::string_view kNoGame = "You must choose a game";
constexpr std::string_view kRomNotFound =
    "The ROM Image was not located in the ZIP file.  Check the Velmor Readme file.";

// One zip launch at a time, across copies of the program: held from the extraction until the
// game has ended. The lock file lies beside the extraction folder, where no member can land,
// and the emulator is handed the lock too, so that it lasts as long as the game even when the
// program itself is ended first.
class LaunchLock final {
  public:
    explicit LaunchLock(const std::filesystem::path& file)
        : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        held_ = fd_ && ::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0;
    }
    bool held() const { return held_; }
    int fd() const { return fd_.get(); }

  private:
    platform::UniqueFd fd_;
    bool held_ = false;
};

// Empties the extraction folder: everything a launch extracted goes when its game ends, and
// what a launch cut short left (the program killed while its game ran) goes at the next one.
void clearFolder(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::filesystem::remove_all(entry.path(), error);
    }
}

// Keeps the screen saver off while it lives, where the settings ask for that: from the start of
// a launch until the game has ended, or until the launch stops short.
class ScreenSaverOff final {
  public:
    ScreenSaverOff(platform::ScreenSaver& saver, bool off) : saver_(off ? &saver : nullptr) {
        if (saver_ != nullptr) {
            saver_->setActive(false);
        }
    }
    ~ScreenSaverOff() {
        if (saver_ != nullptr) {
            saver_->setActive(true);
        }
    }
    ScreenSaverOff(const ScreenSaverOff&) = delete;
    ScreenSaverOff& operator=(const ScreenSaverOff&) = delete;

  private:
    platform::ScreenSaver* saver_;
};

std::string mebibytes(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

// Why a zip launch stopped before the emulator was started.
std::string refusalMessage(const UnzipOutcome& outcome, const std::filesystem::path& folder) {
    const std::string& member = outcome.refusedMember;
    std::string why;
    switch (outcome.refusal) {
        case UnzipRefusal::TooLarge:
            why = member + " in the zip archive is larger than " + mebibytes(kUnzipMemberCap) +
                  ", far more than any ROM image.";
            break;
        case UnzipRefusal::OverTotal:
            why = "The zip archive holds more than " + mebibytes(kUnzipTotalCap) + " in all; " +
                  member + " and what follows it were not taken out.";
            break;
        case UnzipRefusal::NoSpace:
            why = "The extraction folder " + folder.string() +
                  " has too little free space left for " + member + ".";
            break;
        case UnzipRefusal::Unusable:
        case UnzipRefusal::None:
            why =
                member + " in the zip archive could not be taken out: " + outcome.refusalText + ".";
            break;
    }
    return why + "  The game was not started.";
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
    const ScreenSaverOff saverOff(platform_.screenSaver, !record_.screenSaver);
    const std::string switches = emulatorCommandLine(readEmulatorOptions(holders_));
    const std::string game = holders_.text(controls::kGmLabel);
    if (game.empty()) {
        platform_.messages.show(kNoGame);
        return;
    }
    const std::optional<platform::ProgramToRun> emulator = usableEmulator(record_.zsnesPath);
    if (!emulator) {
        return;
    }
    // A Windows emulator finds its configuration file beside its real self, and is told the
    // save folder in its own form.
    const std::string& config = emulator->exe;
    const std::string saveFolder = emulator->windows
                                       ? platform_.shortNames.windowsPath(record_.savePath)
                                       : platform_.shortNames.shortName(record_.savePath);
    if (!writeEmulatorConfig(config, holders_.boxState(controls::kCheck19), saveFolder)) {
        platform_.messages.show("The ZSNES configuration file " +
                                emulatorConfigPath(config).value_or(config) +
                                " could not be written.  Check that its folder can be written.");
        return;
    }
    running_ = true;
    const std::string gamePath = record_.romPath + "/" + game;
    // Only a lower-case "zip" ending, as the Windows version compared it: "GAME.ZIP" goes to the
    // emulator as it is, which reads zipped ROMs itself.
    if (game.ends_with("zip")) {
        zipLaunch(*emulator, switches, gamePath);
    } else if (emulator->windows) {
        platform_.processes.executeAndWait(platform::wineCommand(
            platform_.wine, platform_.shortNames, *emulator, switches, gamePath));
    } else {
        platform_.processes.executeAndWait(platform_.shortNames.shortName(emulator->exe) +
                                           switches + " " +
                                           platform_.shortNames.shortName(gamePath));
    }
    running_ = false;
}

std::optional<platform::ProgramToRun> GameLauncher::usableEmulator(
    const std::string& zsnesLocation) {
    if (settings::trimBlanks(zsnesLocation).empty()) {
        platform_.messages.show(
            "No ZSNES executable is set.  Choose it on the Paths tab under ZSNES Executable.");
        return std::nullopt;
    }
    platform::ProgramToRun emulator =
        platform::programToRun(zsnesLocation, "ZSNES", "ZSNES Executable", platform_.wine);
    if (!emulator.problem.empty()) {
        platform_.messages.show(emulator.problem);
        return std::nullopt;
    }
    return emulator;
}

void GameLauncher::zipLaunch(const platform::ProgramToRun& emulator, const std::string& switches,
                             const std::string& gamePath) {
    const std::string shortGamePath = platform_.shortNames.shortName(gamePath);
    unzipMessageText_.clear();
    extractedRomPath_.clear();
    const auto folder = platform::privateFolder("temp");
    std::optional<LaunchLock> lock;
    if (folder) {
        lock.emplace(folder->parent_path() / "temp.lock");
        if (!lock->held()) {
            platform_.messages.show(
                "A game started from a zip archive is still running.  Try again when it has "
                "ended.");
            return;
        }
        clearFolder(*folder);
        // The launch extracts every member straight into the folder, replacing what is there;
        // so the overwrite question is never asked, and no callback is given for it.
        UnzipOptions options;
        options.overwrite = true;
        UnzipOutcome outcome;
        std::string report;
        // Off the window's thread: a large archive takes seconds, and the window stays usable
        // meanwhile (LAUNCH is refused by `running_`).
        const bool finished = platform_.events.runAside([&](const std::atomic<bool>& stop) {
            options.stop = &stop;
            outcome = unzipArchive(shortGamePath, folder->string(), options,
                                   {[&report](std::string_view text) { report += text; }, {}});
        });
        unzipMessageText_ = std::move(report);
        if (!finished || outcome.refusal != UnzipRefusal::None) {
            clearFolder(*folder);
            if (finished) {
                platform_.messages.show(refusalMessage(outcome, *folder));
            }
            return;
        }
    }
    extractedRomPath_ = launch::extractedRomPath(unzipMessageText_);
    runExtractedGame(emulator, switches, folder ? folder->string() : std::string(),
                     lock ? lock->fd() : -1);
}

void GameLauncher::runExtractedGame(const platform::ProgramToRun& emulator,
                                    const std::string& switches, const std::string& folder,
                                    int lockFd) {
    if (emulator.windows) {
        // No shell: it would eat the backslashes of the Windows paths.
        platform_.processes.startAndWait(
            platform::wineCommand(platform_.wine, platform_.shortNames, emulator, switches,
                                  extractedRomPath_),
            lockFd);
    } else {
        platform_.processes.startShellAndWait(
            std::string(platform::kShellPrefix) + platform_.shortNames.shortName(emulator.exe) +
                switches + " " + platform_.shortNames.shortName(extractedRomPath_),
            lockFd);
    }
    platform_.events.process();
    // Only a file that the extraction wrote counts: a report of another shape can give a path
    // that names something else.
    const std::filesystem::path rom(extractedRomPath_);
    const bool found =
        !folder.empty() && rom.parent_path() == folder && platform::fileExists(extractedRomPath_);
    if (!folder.empty()) {
        clearFolder(folder);
    }
    if (!found) {
        platform_.messages.show(kRomNotFound);
    }
}

}  // namespace velmor::launch
