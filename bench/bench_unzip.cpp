// Extraction of a 4 MiB ROM-like member: unzipArchive in process, once on the calling thread
// and once beside the window's event loop as the zip launch runs it, against Info-ZIP's
// `unzip -o -j` started as a process, alternating, on the same archive made by `zip`.
//
//   bench_unzip [RUNS]     (default 60 runs of each)

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "Median.h"
#include "Spawn.h"
#include "launch/Unzip.h"
#include "platform/linux/QtEvents.h"

namespace {

using velmor::bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Like a cartridge image: code and data that compress somewhat, between padding and tables
// that compress well.
std::string romLike(std::size_t size) {
    std::mt19937 random(20240601);
    std::string rom;
    rom.reserve(size);
    while (rom.size() < size) {
        const auto block = 256 + random() % 4096;
        switch (random() % 3) {
            case 0:  // noise
                for (std::size_t i = 0; i < block; ++i) {
                    rom += static_cast<char>(random());
                }
                break;
            case 1:  // a run of one byte
                rom.append(block, static_cast<char>(random() % 4 == 0 ? 0xff : random()));
                break;
            default:  // a short pattern repeated
                for (std::size_t i = 0; i < block; ++i) {
                    rom += static_cast<char>("\x4c\x00\x80\xea\xa9\x20\x8d\x00"[i % 8] + i / 512);
                }
        }
    }
    rom.resize(size);
    return rom;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    velmor::platform::QtEvents events;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    std::string pattern = (fs::temp_directory_path() / "velmor-bench-unzip-XXXXXX").string();
    const fs::path work = ::mkdtemp(pattern.data());
    const fs::path ours = work / "ours";
    const fs::path theirs = work / "theirs";
    fs::create_directories(ours);
    fs::create_directories(theirs);

    const std::string rom = romLike(std::size_t{4} << 20);
    std::ofstream(work / "GAME.SMC", std::ios::binary).write(rom.data(), std::ssize(rom));
    const std::string archive = (work / "game.zip").string();
    if (velmor::bench::runProgram(
            {"sh", "-c", "cd '" + work.string() + "' && zip -q game.zip GAME.SMC"})
            .status != 0) {
        std::fprintf(stderr, "bench_unzip: zip failed\n");
        return 1;
    }
    std::printf("member: %zu bytes, archive: %ju bytes\n", rom.size(),
                static_cast<std::uintmax_t>(fs::file_size(archive)));

    std::string report;
    const velmor::launch::UnzipCallbacks callbacks{[&](std::string_view text) { report += text; },
                                                   {}};
    velmor::launch::UnzipOptions options;
    options.overwrite = true;
    const auto extractOurs = [&] {
        report.clear();
        const auto start = Clock::now();
        velmor::launch::unzipArchive(archive, ours.string(), options, callbacks);
        return millisecondsSince(start);
    };
    const auto extractAside = [&] {
        report.clear();
        const auto start = Clock::now();
        events.runAside([&](const std::atomic<bool>&) {
            velmor::launch::unzipArchive(archive, ours.string(), options, callbacks);
        });
        return millisecondsSince(start);
    };
    const auto extractTheirs = [&] {
        const auto start = Clock::now();
        velmor::bench::runProgram({"unzip", "-o", "-j", archive, "-d", theirs.string()});
        return millisecondsSince(start);
    };

    extractOurs();  // warm the caches
    extractTheirs();
    if (!report.starts_with("  inflating: ") ||
        fs::file_size(ours / "GAME.SMC") != fs::file_size(theirs / "GAME.SMC")) {
        std::fprintf(stderr, "bench_unzip: the two extractions differ: %s\n", report.c_str());
        return 1;
    }
    std::vector<double> oursMs;
    std::vector<double> asideMs;
    std::vector<double> theirsMs;
    for (int i = 0; i < runs; ++i) {
        oursMs.push_back(extractOurs());
        asideMs.push_back(extractAside());
        theirsMs.push_back(extractTheirs());
    }
    fs::remove_all(work);

    const double a = median(oursMs);
    const double c = median(asideMs);
    const double b = median(theirsMs);
    std::printf("medians of %d alternating runs each\n", runs);
    std::printf("%-34s %10.2f ms\n", "unzipArchive (in process)", a);
    std::printf("%-34s %10.2f ms\n", "unzipArchive beside the window", c);
    std::printf("%-34s %10.2f ms\n", "unzip -o -j (process)", b);
    std::printf("%-34s %10.2f x\n", "unzip / unzipArchive", b / a);
    std::printf("%-34s %10.2f x\n", "unzip / unzipArchive beside", b / c);
    return 0;
}
