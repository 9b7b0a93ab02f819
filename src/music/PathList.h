#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::music {

// A list of paths kept as their bytes, one after another in one buffer, with where each ends:
// a million songs cost their bytes and one number each, rather than an object each.
class PathList final {
  public:
    PathList() = default;
    PathList(std::initializer_list<std::string_view> paths);
    explicit PathList(const std::vector<std::string>& paths);
    // `ends` rise and none lies beyond `bytes`.
    PathList(std::string bytes, std::vector<std::size_t> ends);

    std::size_t size() const { return ends_.size(); }
    // The bytes of all paths together.
    std::size_t byteCount() const { return bytes_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const;
    std::vector<std::string> toVector() const;

    void reserve(std::size_t bytes, std::size_t paths);
    void push_back(std::string_view path);
    // Adds `more` after the last path. Every allocation is made before anything changes, so a
    // failing one leaves the list as it was.
    void append(PathList&& more);
    void erase(std::size_t first, std::size_t count);
    void clear();

    friend bool operator==(const PathList&, const PathList&) = default;

  private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

}  // namespace velmor::music
