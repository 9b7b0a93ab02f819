#include "settings/FrontEndSettings.h"

#include <optional>
#include <string>
#include <string_view>

#include "settings/ValueKinds.h"

namespace velmor::settings {

bool saveGUISettings(SettingsStore& store, const Holders& holders) {
    return store.batch([&] {
        std::string_view openedKey;
        std::optional<KeyHandle> key;
        for (const Setting& setting : kSettings) {
            if (setting.key != openedKey) {
                openedKey = setting.key;
                key = store.openKey(setting.key);
            }
            if (key) {
                store.writeText(*key, setting.name, writtenText(setting, holders));
            }
        }
    });
}

void loadSettings(SettingsStore& store, Holders& holders,
                  const std::function<void(int)>& progress) {
    std::string_view openedKey;
    std::optional<KeyHandle> key;
    for (const LoadStep& step : kLoadOrder) {
        const Setting& setting = kSettings[step.setting];
        if (step.progress != kNoProgress) {
            progress(step.progress);
        }
        if (setting.key != openedKey) {
            openedKey = setting.key;
            key = store.openKey(setting.key);
        }
        if (key) {
            store.loadValue(*key, setting, holders);
        } else {
            applyText(setting, setting.defaultText, holders);
        }
    }
}

}  // namespace velmor::settings
