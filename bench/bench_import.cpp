// `velmor --import-settings` of a Wine prefix's system.reg holding the 41 settings and 50,000
// picture links, each naming a picture (in other letter case) among 50,000 in one folder of the
// prefix's C: drive: the whole program from exec to exit, into an empty store and over a store
// that already holds the same values, alternating; the time and the program's processor time.
//
//   bench_import [RUNS]     (default 10 runs of each)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Median.h"
#include "Spawn.h"
#include "settings/Catalogue.h"

namespace {

using velmor::bench::median;
using velmor::bench::Run;
using velmor::bench::runProgram;

namespace fs = std::filesystem;

constexpr int kLinks = 50000;

// A Wine string: backslashes doubled.
std::string wineText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c == '\\' ? "\\\\" : std::string(1, c);
    }
    return out;
}

// The system.reg of a prefix in which the Windows version ran for a long time.
std::string systemReg() {
    std::string file = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    file += "#arch=win32\n\n";
    std::string_view key;
    for (const auto& setting : velmor::settings::kSettings) {
        if (setting.key != key) {
            key = setting.key;
            file += '[' + wineText(key.substr(1)) + "] 1700000000\n#time=1da0c1e2f3a4b5c\n";
        }
        const std::string text = setting.key == velmor::settings::kPathsKey
                                     ? "C:\\GAMES\\zsnes\\" + std::string(setting.name)
                                     : std::string(setting.defaultText);
        file += '"' + wineText(setting.name) + "\"=\"" + wineText(text) + "\"\n";
    }
    file += '[' + wineText(velmor::settings::kPictureLinksKey.substr(1)) + "] 1700000000\n";
    for (int n = 0; n < kLinks; ++n) {
        const std::string number = std::to_string(n);
        file += "\"Game " + number + ".smc\"=\"C:\\\\PICTURES\\\\game " + number + ".PNG\"\n";
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::string pattern = (fs::temp_directory_path() / "velmor-bench-import-XXXXXX").string();
    const fs::path work = ::mkdtemp(pattern.data());
    const fs::path prefix = work / "prefix";
    const fs::path pictures = prefix / "drive_c/Pictures";
    fs::create_directories(pictures);
    fs::create_directories(prefix / "drive_c/Games/ZSNES");
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices/c:");
    fs::create_symlink("/", prefix / "dosdevices/z:");
    for (int n = 0; n < kLinks; ++n) {
        std::ofstream(pictures / ("Game " + std::to_string(n) + ".png"));
    }
    const fs::path reg = prefix / "system.reg";
    const std::string contents = systemReg();
    std::ofstream(reg, std::ios::binary).write(contents.data(), std::ssize(contents));
    const fs::path store = work / "store/registry.db";
    ::setenv("VELMOR_REGISTRY", store.c_str(), 1);
    std::printf("system.reg: %zu bytes, 41 settings and %d picture links\n", contents.size(),
                kLinks);

    const std::vector<std::string> command{VELMOR_PROGRAM, "--import-settings", reg.string(),
                                           "--wine-prefix", prefix.string()};
    const fs::path output = work / "output.txt";
    const auto fresh = [&] {
        fs::remove_all(store.parent_path());
        return runProgram(command, output.c_str());
    };
    std::vector<double> freshMs;
    std::vector<double> againMs;
    std::vector<double> freshCpuMs;
    std::vector<double> againCpuMs;
    long peakKb = 0;
    fresh();  // warm the caches
    std::ifstream said(output);
    const std::string report{std::istreambuf_iterator<char>(said), {}};
    if (report.find("paths here: " + std::to_string(kLinks + 5) + ".") == std::string::npos) {
        std::fprintf(stderr, "bench_import: not every path was turned:\n%s", report.c_str());
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        const Run first = fresh();
        const Run again = runProgram(command, output.c_str());
        if (first.status != 0 || again.status != 0) {
            std::fprintf(stderr, "bench_import: the import failed (%d, %d)\n", first.status,
                         again.status);
            return 1;
        }
        freshMs.push_back(first.ms);
        againMs.push_back(again.ms);
        freshCpuMs.push_back(first.cpuMs);
        againCpuMs.push_back(again.cpuMs);
        peakKb = std::max({peakKb, first.peakKb, again.peakKb});
    }
    fs::remove_all(work);

    std::printf("medians of %d alternating runs each, exec to exit\n", runs);
    std::printf("%-34s %10.1f ms (processor %.1f ms)\n", "into an empty store", median(freshMs),
                median(freshCpuMs));
    std::printf("%-34s %10.1f ms (processor %.1f ms)\n", "over the same values", median(againMs),
                median(againCpuMs));
    std::printf("%-34s %10.1f MB\n", "peak memory", peakKb / 1024.0);
    return 0;
}
