// LAUNCH until the emulator is started: a Windows emulator through Wine (its header read, Wine's
// checks, the Windows form of every path) against a Linux emulator, alternating in one run, on
// the same game and settings. The start itself is recorded, not made, so that only what the user
// waits for before the program runs is timed.
//
//   bench_launch_wine [RUNS]     (default 200 runs of each; wine must be on PATH)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "Median.h"
#include "launch/GameLauncher.h"
#include "platform/linux/LinuxShortNames.h"
#include "platform/linux/LinuxWine.h"
#include "settings/SettingsRecord.h"
#include "support/FakeHolders.h"
#include "support/FakePlatform.h"

namespace {

using velmor::bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Notes the moment a program would have been started, and starts nothing.
class Stopwatch final : public velmor::platform::Processes {
  public:
    bool executeAndWait(std::string_view) override { return stop(); }
    bool startShellAndWait(std::string_view, int) override { return stop(); }
    bool startDetached(std::string_view) override { return stop(); }
    bool executeAndWait(const velmor::platform::Command&) override { return stop(); }
    bool startAndWait(const velmor::platform::Command&, int) override { return stop(); }
    bool startDetached(const velmor::platform::Command&) override { return stop(); }
    Clock::time_point stopped;

  private:
    bool stop() {
        stopped = Clock::now();
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    if (velmor::platform::findWine().empty()) {
        std::fprintf(stderr, "bench_launch_wine: wine is not on PATH\n");
        return 1;
    }
    QTemporaryDir temp;
    const fs::path dir = temp.path().toStdString();
    fs::create_directories(dir / "roms");
    fs::create_directories(dir / "saves");
    fs::create_directories(dir / "Emulator Folder");
    std::ofstream(dir / "roms/Super Game (USA).smc") << "ROM";
    // The Linux emulator: a script; the Windows one: a 64-bit program header, no execute bit (a
    // 32-bit one needs wine32, which these machines cannot have).
    const fs::path linux = dir / "Emulator Folder/zsnes";
    std::ofstream(linux) << "#!/bin/sh\nexit 0\n";
    fs::permissions(linux, fs::perms::owner_all);
    const fs::path windows = dir / "Emulator Folder/zsnesw.exe";
    {
        std::string header(0x80, '\0');
        header[0] = 'M';
        header[1] = 'Z';
        header[0x3C] = 0x40;
        header.replace(0x40, 6, std::string("PE\0\0\x64\x86", 6));
        std::ofstream(windows, std::ios::binary) << header;
    }
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace);

    velmor::test::FakePlatform fake;
    Stopwatch processes;
    velmor::platform::LinuxShortNames shortNames;
    velmor::platform::LinuxWine wine;
    velmor::platform::Platform platform{fake.registry,     fake.events,    fake.timers,
                                        fake.playerWindow, fake.messages,  fake.program,
                                        processes,         shortNames,     fake.screenSaver,
                                        fake.fileDialogs,  fake.fileTypes, wine};
    velmor::test::FakeHolders holders;
    holders.texts["GmLabel"] = "Super Game (USA).smc";
    velmor::settings::SettingsRecord record;
    record.romPath = (dir / "roms").string();
    record.savePath = (dir / "saves").string();
    velmor::launch::GameLauncher launcher(platform, holders, record, [] { return true; });

    std::vector<double> linuxTimes;
    std::vector<double> windowsTimes;
    for (int run = -1; run < runs; ++run) {  // run -1 warms both up (and asks wine once)
        for (const bool isWindows : {false, true}) {
            record.zsnesPath = (isWindows ? windows : linux).string();
            const Clock::time_point clicked = Clock::now();
            launcher.command1Click();
            const double ms =
                std::chrono::duration<double, std::milli>(processes.stopped - clicked).count();
            if (run >= 0) {
                (isWindows ? windowsTimes : linuxTimes).push_back(ms);
            }
        }
    }
    if (!fake.messages.shown.empty()) {
        std::fprintf(stderr, "bench_launch_wine: %s\n", fake.messages.shown.front().c_str());
        return 1;
    }
    const double linuxMedian = median(linuxTimes);
    const double windowsMedian = median(windowsTimes);
    std::printf("LAUNCH until the emulator is started, medians of %d alternating runs\n", runs);
    std::printf("  Linux emulator                 %8.3f ms\n", linuxMedian);
    std::printf("  Windows emulator through Wine  %8.3f ms   (%.2f times)\n", windowsMedian,
                windowsMedian / linuxMedian);
    return 0;
}
