// A stand-in for a running copy of the program that saves its settings over and over, so that
// tests can run two of them against one store at the same time.
//
//   store_writer FILE save COPY PASSES    PASSES full saves, pass n stamped with COPY and n
//   store_writer FILE single COPY COUNT   COUNT single writes of "copyCOPY-n" under one key
//
// Exits 0 when every operation of the store succeeded, 1 when any failed, 2 on bad arguments.

#include <charconv>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SqliteRegistry.h"
#include "settings/FrontEndSettings.h"
#include "settings/SettingsStore.h"
#include "support/StampHolders.h"

namespace {

using velmor::platform::Registry;

// Forwards to the real store and counts what failed, which a save pass itself never reports.
class CountingRegistry final : public Registry {
  public:
    explicit CountingRegistry(Registry& inner) : inner_(inner) {}

    std::optional<std::string> createKey(std::string_view path) override {
        auto key = inner_.createKey(path);
        failures += key ? 0 : 1;
        return key;
    }
    bool setValue(std::string_view key, std::string_view name, std::string_view data) override {
        const bool ok = inner_.setValue(key, name, data);
        failures += ok ? 0 : 1;
        return ok;
    }
    std::optional<std::string> queryValue(std::string_view key, std::string_view name) override {
        return inner_.queryValue(key, name);
    }
    void batch(const std::function<void()>& body) override { inner_.batch(body); }

    int failures = 0;

  private:
    Registry& inner_;
};

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: store_writer FILE save|single COPY COUNT\n");
        return 2;
    }
    const std::string_view mode = argv[2];
    const auto copy = number(argv[3]);
    const auto count = number(argv[4]);
    if (!copy || !count || (mode != "save" && mode != "single")) {
        std::fprintf(stderr, "store_writer: bad arguments\n");
        return 2;
    }

    velmor::platform::SqliteRegistry sqlite(argv[1]);
    if (!sqlite.usable()) {
        std::fprintf(stderr, "store_writer: store %s unusable\n", argv[1]);
        return 1;
    }
    CountingRegistry registry(sqlite);
    velmor::settings::SettingsStore store(registry);

    if (mode == "save") {
        for (int pass = 0; pass < *count; ++pass) {
            velmor::settings::saveGUISettings(store, velmor::test::StampHolders(*copy, pass));
        }
    } else {
        const auto key = store.openKey(velmor::settings::kPictureLinksKey);
        for (int n = 0; key && n < *count; ++n) {
            const std::string name = "copy" + std::to_string(*copy) + "-" + std::to_string(n);
            store.writeText(*key, name, name);
        }
    }
    if (registry.failures != 0) {
        std::fprintf(stderr, "store_writer: %d operations failed\n", registry.failures);
        return 1;
    }
    return 0;
}
