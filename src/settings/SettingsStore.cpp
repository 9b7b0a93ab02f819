#include "settings/SettingsStore.h"

#include "settings/ValueKinds.h"

namespace velmor::settings {

std::optional<KeyHandle> SettingsStore::openKey(std::string_view subkey) {
    std::string path(kHive);
    path += subkey;
    return registry_.createKey(path);
}

void SettingsStore::writeText(const KeyHandle& key, std::string_view name, std::string_view text) {
    std::string data(text);
    data.push_back('\0');
    registry_.setValue(key, name, data);
}

std::optional<std::string> SettingsStore::readText(const KeyHandle& key, std::string_view name) {
    auto data = registry_.queryValue(key, name);
    if (!data || data->size() < 2) {
        return std::nullopt;
    }
    data->pop_back();
    return data;
}

void SettingsStore::loadValue(const KeyHandle& key, const Setting& setting, Holders& holders) {
    if (const auto text = readText(key, setting.name)) {
        applyText(setting, *text, holders);
        return;
    }
    writeText(key, setting.name, setting.defaultText);
    applyText(setting, setting.defaultText, holders);
}

}  // namespace velmor::settings
