// Saving a playlist of 10,000 entries from the editor (File, Save Playlist with the dialog
// answered at once), against a plain write of the same bytes, and the same write made durable,
// side by side in one run: alternating runs, medians.
//
//   bench_playlist_save [RUNS] [FOLDER]    (default 51 runs; FOLDER default: the temp folder)

#include <fcntl.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Median.h"
#include "music/Playlist.h"
#include "music/PlaylistEditor.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/ProgramInfo.h"

namespace {

using velmor::bench::median;

namespace fs = std::filesystem;
using velmor::platform::FileRequest;

constexpr int kEntries = 10000;

// Every dialog answers the next name it is given.
class AnsweringDialogs final : public velmor::platform::FileDialogs {
  public:
    std::optional<std::string> openFile(const FileRequest&) override { return answer; }
    std::optional<std::string> saveFile(const FileRequest&) override { return answer; }
    std::optional<std::string> browseFolder(std::string_view) override { return answer; }
    std::string answer;
};

class NoMessages final : public velmor::platform::Messages {
  public:
    void show(std::string_view) override {}
    Answer ask(std::string_view, std::string_view) override { return Answer::Cancel; }
};

class Program final : public velmor::platform::ProgramInfo {
  public:
    std::string folder() const override { return "/"; }
    std::string commandLine() const override { return {}; }
};

double millisecondsOf(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void report(const char* what, const std::vector<double>& ms) {
    std::printf("%-34s median %7.3f ms (min %.3f, max %.3f)\n", what, median(ms),
                *std::ranges::min_element(ms), *std::ranges::max_element(ms));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 51;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
    const fs::path saved = folder / "velmor-bench-editor.spl";
    const fs::path plain = folder / "velmor-bench-plain.spl";

    AnsweringDialogs dialogs;
    NoMessages messages;
    Program program;
    velmor::music::PlaylistEditor editor(
        {dialogs, messages, program, [] { return std::string(); }});
    editor.open();
    velmor::music::PlayList& window = *editor.window();
    auto* add = window.findChild<QObject*>(QStringLiteral("Command1"));
    // Names of a music collection, each filled up with blanks as Add SPC File keeps it.
    for (int i = 0; i < kEntries; ++i) {
        dialogs.answer = "/home/user/music/Game " + std::to_string(i / 20) + "/" +
                         std::to_string(i % 20) + " - Track.spc";
        QMetaObject::invokeMethod(add, "click");
    }
    const std::string bytes = velmor::music::playlistText(window.entries());
    dialogs.answer = saved.string();
    QAction& save = *window.findChild<QAction*>(QStringLiteral("Save"));

    std::vector<double> editorMs;
    std::vector<double> plainMs;
    std::vector<double> syncedMs;
    for (int run = -1; run < runs; ++run) {  // one unmeasured round first
        QElapsedTimer clock;
        clock.start();
        save.trigger();
        const double editorRun = millisecondsOf(clock);

        clock.restart();
        std::ofstream(plain, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const double plainRun = millisecondsOf(clock);

        clock.restart();
        const int fd = ::open(plain.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        const bool synced =
            fd >= 0 &&
            ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
            ::fsync(fd) == 0;
        ::close(fd);
        const double syncedRun = millisecondsOf(clock);
        if (!synced) {
            std::fprintf(stderr, "the plain write failed\n");
            return 1;
        }
        if (run >= 0) {
            editorMs.push_back(editorRun);
            plainMs.push_back(plainRun);
            syncedMs.push_back(syncedRun);
        }
    }

    std::ifstream in(saved, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    std::printf("folder: %s, %d entries, %zu bytes, %d runs each, alternating\n",
                folder.string().c_str(), kEntries, bytes.size(), runs);
    report("editor save (Save Playlist):", editorMs);
    report("plain write of the same bytes:", plainMs);
    report("plain write + fsync:", syncedMs);
    std::printf("ratio editor / plain write: %.1f; goal: editor save under 50 ms\n",
                median(editorMs) / median(plainMs));
    fs::remove(saved);
    fs::remove(plain);
    return written == bytes ? 0 : 1;
}
