// Select Music on a playlist of 10,000 and of 100,000 entries, from the click until the song
// list holds every entry, on the real main window (the file dialog answered at once). Goals:
// under 50 ms for 10,000 entries and under 0.5 s for 100,000, growing linearly.
//
//   bench_selectmusic [RUNS]    (default 11 runs a size; medians)

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "music/Playlist.h"
#include "support/FakePlatform.h"

namespace {

namespace fs = std::filesystem;

// A playlist as the editor writes it: one quoted path a line, CR LF.
fs::path makePlaylist(int entries) {
    const fs::path file =
        fs::temp_directory_path() / ("velmor-bench-" + std::to_string(entries) + ".spl");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < entries; ++i) {
        out << "\"/home/player/Music/SNES Soundtracks/Album " << i / 20 << "/Track " << i % 20 + 1
            << " - Song number " << i << ".spc\"\r\n";
    }
    return file;
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;

    velmor::test::FakePlatform fake;
    velmor::app::MainForm form(fake.platform);
    form.formLoad();
    form.window().show();
    auto* list = form.window().findChild<QComboBox*>("MusicList");
    auto* selectMusic = form.window().findChild<QPushButton*>("Command11");

    int status = 0;
    double perEntry[2] = {};
    for (const int entries : {10000, 100000}) {
        const fs::path playlist = makePlaylist(entries);
        std::vector<double> selectMs;
        std::vector<double> readMs;
        for (int run = -1; run < runs; ++run) {  // one unmeasured run first
            QElapsedTimer clock;
            clock.start();
            const auto read = velmor::music::readPlaylist(playlist.string());
            const double readRunMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            fake.fileDialogs.answers = {playlist.string()};
            clock.restart();
            selectMusic->click();
            const double selectRunMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (list->count() != entries || !read || std::ssize(*read) != entries) {
                std::fprintf(stderr, "listed %d of %d entries\n", list->count(), entries);
                return 1;
            }
            if (run >= 0) {
                selectMs.push_back(selectRunMs);
                readMs.push_back(readRunMs);
            }
        }
        const double select50 = median(selectMs);
        const double goal = entries == 10000 ? 50.0 : 500.0;
        perEntry[entries == 10000 ? 0 : 1] = select50 / entries;
        std::printf(
            "%6d entries: Select Music median %.2f ms (min %.2f, max %.2f; goal < %.0f), "
            "of which reading the playlist %.2f ms\n",
            entries, select50, *std::ranges::min_element(selectMs),
            *std::ranges::max_element(selectMs), goal, median(readMs));
        status |= select50 < goal ? 0 : 1;
        fs::remove(playlist);
    }
    std::printf("time per entry, 100,000 against 10,000: %.2f (1 is linear)\n",
                perEntry[1] / perEntry[0]);
    return status;
}
