// Opening the game picker on a ROM folder of 20,000 files (half of them games, in the ten
// patterns and mixed letter case) until its list is filled, against `find` listing the same
// files, side by side in one run: alternating runs, medians, and their ratio.
//
//   bench_gamepicker [RUNS] [FOLDER]    (default 21 runs; the folder is made once and kept)

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Median.h"
#include "launch/GameSelect.h"
#include "platform/linux/QtEvents.h"
#include "settings/Holders.h"

namespace {

using velmor::bench::median;

namespace fs = std::filesystem;

constexpr int kFiles = 20000;
const char* const kExtensions[] = {"smc", "FIG", "Swc", "sfc", "058", "078", "1",      "usa",
                                   "JAP", "zip", "txt", "srm", "png", "nfo", "SMC.bak"};

// Only the current game is ever written; nothing else is asked.
class GameHolder final : public velmor::settings::Holders {
  public:
    std::string text(std::string_view) const override { return game; }
    void setText(std::string_view, const std::string& value) override { game = value; }
    int boxState(std::string_view) const override { return 0; }
    void setBoxState(std::string_view, int) override {}
    int listIndex(std::string_view) const override { return -1; }
    int listCount(std::string_view) const override { return 0; }
    void setListIndex(std::string_view, int) override {}
    int sliderValue(std::string_view) const override { return 0; }
    int sliderMinimum(std::string_view) const override { return 0; }
    int sliderMaximum(std::string_view) const override { return 0; }
    void setSliderValue(std::string_view, int) override {}
    bool optionSelected(std::string_view) const override { return false; }
    void selectOption(std::string_view) override {}
    void deselectOption(std::string_view) override {}
    bool flag(std::string_view) const override { return false; }
    void setFlag(std::string_view, bool) override {}
    std::string game;
};

// Two thirds of the names are games: every one of the ten patterns, the rest other files.
void makeFolder(const fs::path& folder) {
    const fs::path done = folder / ".complete";
    if (fs::exists(done)) {
        return;
    }
    fs::create_directories(folder);
    for (int i = 0; i < kFiles; ++i) {
        const auto extension = kExtensions[static_cast<std::size_t>(i) % std::size(kExtensions)];
        std::ofstream(folder / ("Game " + std::to_string(i) + "." + extension)) << "rom";
    }
    std::ofstream(done) << "made\n";
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const fs::path folder =
        argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "velmor-bench-games";
    makeFolder(folder);

    GameHolder holder;
    velmor::platform::QtEvents events;
    velmor::launch::GamePicker picker({holder, events, [] {}});

    QStringList findArguments{
        QString::fromStdString(folder.string()), "-maxdepth", "1", "-type", "f", "("};
    for (const char* pattern :
         {"*.smc", "*.fig", "*.swc", "*.sfc", "*.058", "*.078", "*.1", "*.usa", "*.jap", "*.zip"}) {
        if (findArguments.last() != "(") {
            findArguments << "-o";
        }
        findArguments << "-iname" << pattern;
    }
    findArguments << ")";

    std::vector<double> pickerMs;
    std::vector<double> findMs;
    qsizetype listed = 0;
    qsizetype found = 0;
    // One run of each unmeasured first, so both find the folder in the page cache.
    for (int run = -1; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        picker.open(folder.string());
        velmor::launch::GameSelect* window = picker.window();
        while (!window->isFilled()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const double openMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        listed = window->findChild<QObject*>("File1")->property("count").toLongLong();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QProcess find;
        clock.restart();
        find.start(QStringLiteral("find"), findArguments);
        find.waitForFinished(-1);
        const QByteArray output = find.readAllStandardOutput();
        const double findRunMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        found = output.count('\n');
        if (run >= 0) {
            pickerMs.push_back(openMs);
            findMs.push_back(findRunMs);
        }
    }

    const double picker50 = median(pickerMs);
    const double find50 = median(findMs);
    std::printf("folder: %s, %d files, %lld listed by the picker, %lld by find\n",
                folder.string().c_str(), kFiles, static_cast<long long>(listed),
                static_cast<long long>(found));
    std::printf("runs: %d each, alternating\n", runs);
    std::printf("picker open until filled: median %.2f ms (min %.2f, max %.2f)\n", picker50,
                *std::ranges::min_element(pickerMs), *std::ranges::max_element(pickerMs));
    std::printf("find -maxdepth 1 -type f -iname x10: median %.2f ms (min %.2f, max %.2f)\n",
                find50, *std::ranges::min_element(findMs), *std::ranges::max_element(findMs));
    std::printf("ratio picker / find: %.2f (goal: at most 2)\n", picker50 / find50);
    return listed == found ? 0 : 1;
}
