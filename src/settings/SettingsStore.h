#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "settings/Catalogue.h"
#include "settings/Holders.h"

namespace velmor::settings {

// An opened key: its full name in the store.
using KeyHandle = std::string;

// The program's key tree under the hive, with the four operations that loading and saving use.
class SettingsStore {
  public:
    explicit SettingsStore(platform::Registry& registry) : registry_(registry) {}

    // Opens `subkey` ("\Software\Velmor\Paths") under the hive, creating it and its parents.
    std::optional<KeyHandle> openKey(std::string_view subkey);

    // Stores the text as a text value: its bytes and one NUL.
    void writeText(const KeyHandle& key, std::string_view name, std::string_view text);

    // The stored bytes without their last one (the NUL); absent when the value is missing,
    // holds nothing but the NUL, or cannot be read.
    std::optional<std::string> readText(const KeyHandle& key, std::string_view name);

    // Reads the setting into its holder; an absent value gets its default written back and
    // applied.
    void loadValue(const KeyHandle& key, const Setting& setting, Holders& holders);

    // Runs `body` as one atomic unit of the store; false when none of it was stored.
    bool batch(const std::function<void()>& body) { return registry_.batch(body); }

    // Why the store cannot be used or the last unit was not stored.
    std::string problem() const { return registry_.problem(); }

  private:
    platform::Registry& registry_;
};

}  // namespace velmor::settings
