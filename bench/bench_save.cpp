// What one save of all settings costs against a real store on disk: into an empty store, and
// into one that already holds 50,000 picture links (a long-used installation).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/linux/SqliteRegistry.h"
#include "settings/Catalogue.h"
#include "settings/FrontEndSettings.h"
#include "settings/Holders.h"
#include "settings/SettingsStore.h"

namespace {

using velmor::settings::Holders;

// Settings as a typical user leaves them: paths filled in, some boxes ticked.
class TypicalHolders final : public Holders {
  public:
    std::string text(std::string_view holder) const override {
        return "/home/someone/snes/" + std::string(holder);
    }
    void setText(std::string_view, const std::string&) override {}
    int boxState(std::string_view holder) const override { return holder.size() % 2; }
    void setBoxState(std::string_view, int) override {}
    int listIndex(std::string_view) const override { return 1; }
    int listCount(std::string_view) const override { return 4; }
    void setListIndex(std::string_view, int) override {}
    int sliderValue(std::string_view) const override { return 3; }
    int sliderMinimum(std::string_view) const override { return 0; }
    int sliderMaximum(std::string_view) const override { return 150; }
    void setSliderValue(std::string_view, int) override {}
    bool optionSelected(std::string_view holder) const override { return holder == "Option4"; }
    void selectOption(std::string_view) override {}
    void deselectOption(std::string_view) override {}
    bool flag(std::string_view) const override { return true; }
    void setFlag(std::string_view, bool) override {}
};

// A store in a folder of its own, removed afterwards.
class TempStoreFolder {
  public:
    TempStoreFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "bench_save-XXXXXX");
        if (mkdtemp(pattern.data()) != nullptr) {
            folder_ = pattern;
        }
    }
    ~TempStoreFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempStoreFolder(const TempStoreFolder&) = delete;
    TempStoreFolder& operator=(const TempStoreFolder&) = delete;
    std::filesystem::path file() const { return folder_ / "registry.db"; }

  private:
    std::filesystem::path folder_;
};

void fillPictureLinks(velmor::settings::SettingsStore& store, int links) {
    store.batch([&] {
        const auto key = store.openKey(velmor::settings::kPictureLinksKey);
        for (int n = 0; key && n < links; ++n) {
            const std::string game = "Game" + std::to_string(n) + ".smc";
            store.writeText(*key, game, "/home/someone/snes/shots/" + game + ".png");
        }
    });
}

void saveAllSettings(benchmark::State& state) {
    TempStoreFolder folder;
    velmor::platform::SqliteRegistry registry(folder.file());
    if (!registry.usable()) {
        state.SkipWithError("store unusable");
        return;
    }
    velmor::settings::SettingsStore store(registry);
    fillPictureLinks(store, static_cast<int>(state.range(0)));
    const TypicalHolders holders;
    for (auto _ : state) {
        velmor::settings::saveGUISettings(store, holders);
    }
}

BENCHMARK(saveAllSettings)
    ->ArgName("picture_links")
    ->Arg(0)
    ->Arg(50000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
