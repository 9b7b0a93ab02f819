#include "settings/ImportSettings.h"

#include <array>
#include <string_view>
#include <unordered_map>

#include "platform/WindowsNames.h"
#include "settings/Catalogue.h"
#include "settings/SettingsStore.h"

namespace velmor::settings {
namespace {

// Where 64-bit Windows keeps the keys of a 32-bit program, under Software.
constexpr std::string_view kWow64Node = "\\Wow6432Node";

using platform::foldedName;

// Velmor's keys as an export names them, under the hive: its own key or the one that 64-bit
// Windows keeps for a 32-bit program, and the keys below; and its settings by their folded key
// and name.
class VelmorKeys {
  public:
    VelmorKeys()
        : hive_(foldedName(kHive)),
          roots_{foldedName(kRootKey),
                 foldedName(std::string(kRootKey.substr(0, software())) + std::string(kWow64Node) +
                            std::string(kRootKey.substr(software())))} {
        for (const Setting& setting : kSettings) {
            settings_.emplace(foldedName(setting.key) + '\0' + foldedName(setting.name), &setting);
        }
    }

    // The key's name as the catalogue writes it ("\Software\Velmor\Paths"), folded, when it
    // is Velmor's key or one below it; nothing for any other key.
    std::optional<std::string> subkey(std::string_view key) const {
        std::string name = foldedName(key);
        if (!name.starts_with(hive_)) {
            return std::nullopt;
        }
        const std::string_view below = std::string_view(name).substr(hive_.size());
        for (const std::string& root : roots_) {
            if (below.starts_with(root) &&
                (below.size() == root.size() || below[root.size()] == '\\')) {
                return roots_[0] + std::string(below.substr(root.size()));
            }
        }
        return std::nullopt;
    }

    const Setting* setting(const std::string& subkey, std::string_view name) const {
        const auto found = settings_.find(subkey + '\0' + foldedName(name));
        return found == settings_.end() ? nullptr : found->second;
    }

  private:
    static std::size_t software() { return kRootKey.find('\\', 1); }

    std::string hive_;
    std::array<std::string, 2> roots_;
    std::unordered_map<std::string, const Setting*> settings_;
};

struct Write {
    std::string_view subkey;
    std::string name;
    std::string text;
};

// Leaves the store's unit when a key cannot be opened, so that nothing of it is stored.
struct KeyNotOpened {};

std::string counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + ' ' + std::string(n == 1 ? one : many);
}

}  // namespace

std::optional<ImportSummary> importSettings(const RegistryExport& file,
                                            platform::Registry& registry,
                                            platform::WindowsPaths& paths) {
    const VelmorKeys velmor;
    const std::string links = foldedName(kPictureLinksKey);
    ImportSummary summary;
    summary.deletions = file.deletions;
    std::vector<Write> writes;
    writes.reserve(file.values.size());
    std::string_view lastKey;
    std::optional<std::string> subkey;
    for (const ExportedValue& value : file.values) {
        if (value.key != lastKey) {  // a file's values come key by key
            lastKey = value.key;
            subkey = velmor.subkey(value.key);
        }
        const bool isLink = subkey == links;
        const Setting* setting = subkey && !isLink ? velmor.setting(*subkey, value.name) : nullptr;
        if (!isLink && setting == nullptr) {
            ++summary.otherValues;
            continue;
        }
        if (value.type != ExportedType::Text) {
            ++summary.otherTypes;
            continue;
        }
        std::string text = value.text;
        if ((isLink || setting->key == kPathsKey) && !text.empty()) {
            if (auto local = paths.localPath(text)) {
                text = std::move(*local);
                ++summary.pathsTurned;
            } else {
                summary.pathsKept.push_back(
                    (isLink ? "picture of " + value.name : std::string(setting->name)) + ": " +
                    text);
            }
        }
        if (isLink) {
            ++summary.pictureLinks;
            writes.push_back({kPictureLinksKey, value.name, std::move(text)});
        } else {
            ++summary.settings;
            writes.push_back({setting->key, std::string(setting->name), std::move(text)});
        }
    }

    SettingsStore store(registry);
    try {
        const bool stored = store.batch([&] {
            std::unordered_map<std::string_view, KeyHandle> keys;
            for (const Write& write : writes) {
                auto key = keys.find(write.subkey);
                if (key == keys.end()) {
                    auto opened = store.openKey(write.subkey);
                    if (!opened) {
                        throw KeyNotOpened{};
                    }
                    key = keys.emplace(write.subkey, std::move(*opened)).first;
                }
                store.writeText(key->second, write.name, write.text);
            }
        });
        if (!stored) {
            return std::nullopt;
        }
    } catch (const KeyNotOpened&) {
        return std::nullopt;
    }
    return summary;
}

std::string summaryText(const ImportSummary& summary) {
    std::string text = "Imported " + counted(summary.settings, "setting", "settings") + " and " +
                       counted(summary.pictureLinks, "picture link", "picture links") + ".\n";
    text += "Windows paths turned into paths here: " + std::to_string(summary.pathsTurned) + ".\n";
    text += "Paths kept as they were, with no drive for them here: " +
            std::to_string(summary.pathsKept.size()) + (summary.pathsKept.empty() ? ".\n" : "\n");
    for (const std::string& kept : summary.pathsKept) {
        text += "  " + kept + '\n';
    }
    text += "Skipped: " +
            counted(summary.otherValues, "value of other keys or names",
                    "values of other keys or names") +
            ", " + counted(summary.otherTypes, "value of another type", "values of other types") +
            ", " + counted(summary.deletions, "deletion", "deletions") + ".\n";
    return text;
}

}  // namespace velmor::settings
