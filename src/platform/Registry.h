#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmor::platform {

// The system's hierarchical key-value store. Keys are full paths, backslash separated, with the
// hive first ("HKEY_LOCAL_MACHINE\Software\Velmor"). Key and value names match without regard to
// ASCII letter case. Every value here is a text value (REG_SZ); its data is the stored bytes
// exactly as written, so the terminating NUL is the caller's business.
class Registry {
  public:
    virtual ~Registry() = default;

    // Opens the key, creating it and its missing parents. Returns the key's name as the store
    // keeps it (the case it was first written with), or nothing when the store is unusable.
    virtual std::optional<std::string> createKey(std::string_view path) = 0;

    // Stores `data` under the value name of an opened key, replacing any earlier value.
    virtual bool setValue(std::string_view key, std::string_view name, std::string_view data) = 0;

    // The stored bytes of a value; nothing when it is absent or cannot be read.
    virtual std::optional<std::string> queryValue(std::string_view key, std::string_view name) = 0;

    // Runs `body` as one atomic unit: another process sees all of its writes or none. False
    // when the unit was not stored: then none of its writes are (body may not have run).
    virtual bool batch(const std::function<void()>& body) = 0;

    // Why the store cannot be used, or why the last unit was not stored; empty when neither.
    virtual std::string problem() const = 0;
};

}  // namespace velmor::platform
