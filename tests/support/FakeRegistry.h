#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace velmor::test {

// An in-memory key tree that keeps every write in order. Names compare without regard to
// ASCII case, as in the real store.
class FakeRegistry final : public platform::Registry {
  public:
    struct Write {
        std::string key;
        std::string name;
        std::string data;
    };

    bool failCreate = false;  // every createKey fails
    std::string failKey;      // createKey of this path (letter case ignored) fails
    bool failBatch = false;   // every batch fails before its body runs

    std::optional<std::string> createKey(std::string_view path) override;
    bool setValue(std::string_view key, std::string_view name, std::string_view data) override;
    std::optional<std::string> queryValue(std::string_view key, std::string_view name) override;
    bool batch(const std::function<void()>& body) override;
    std::string problem() const override { return failBatch ? "the store is busy" : ""; }

    // Test access, by subkey text under the hive ("\Software\Velmor\Sound").
    void put(std::string_view subkey, std::string_view name, std::string_view text);
    std::optional<std::string> text(std::string_view subkey, std::string_view name) const;
    std::size_t valueCount() const { return values_.size(); }

    std::vector<Write> writes;
    std::vector<std::string> opened;
    int batches = 0;

  private:
    static std::string fold(std::string_view text);
    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::map<std::string, std::string> keys_;
};

}  // namespace velmor::test
