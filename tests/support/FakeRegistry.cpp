#include "support/FakeRegistry.h"

#include <cctype>

#include "settings/Catalogue.h"

namespace velmor::test {

std::string FakeRegistry::fold(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded;
}

std::optional<std::string> FakeRegistry::createKey(std::string_view path) {
    opened.emplace_back(path);
    if (failCreate || (!failKey.empty() && fold(failKey) == fold(path))) {
        return std::nullopt;
    }
    return keys_.try_emplace(fold(path), std::string(path)).first->second;
}

bool FakeRegistry::setValue(std::string_view key, std::string_view name, std::string_view data) {
    writes.push_back({std::string(key), std::string(name), std::string(data)});
    values_[{fold(key), fold(name)}] = std::string(data);
    return true;
}

std::optional<std::string> FakeRegistry::queryValue(std::string_view key, std::string_view name) {
    const auto found = values_.find({fold(key), fold(name)});
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool FakeRegistry::batch(const std::function<void()>& body) {
    ++batches;
    if (failBatch) {
        return false;
    }
    body();
    return true;
}

void FakeRegistry::put(std::string_view subkey, std::string_view name, std::string_view text) {
    std::string path(settings::kHive);
    path += subkey;
    keys_.try_emplace(fold(path), path);
    std::string data(text);
    data.push_back('\0');
    values_[{fold(path), fold(name)}] = data;
}

std::optional<std::string> FakeRegistry::text(std::string_view subkey,
                                              std::string_view name) const {
    std::string path(settings::kHive);
    path += subkey;
    const auto found = values_.find({fold(path), fold(name)});
    if (found == values_.end() || found->second.empty()) {
        return std::nullopt;
    }
    return found->second.substr(0, found->second.size() - 1);
}

}  // namespace velmor::test
