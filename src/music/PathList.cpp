#include "music/PathList.h"

#include <algorithm>
#include <utility>

namespace velmor::music {

PathList::PathList(std::initializer_list<std::string_view> paths) {
    for (const std::string_view path : paths) {
        push_back(path);
    }
}

PathList::PathList(const std::vector<std::string>& paths) {
    ends_.reserve(paths.size());
    for (const std::string& path : paths) {
        push_back(path);
    }
}

PathList::PathList(std::string bytes, std::vector<std::size_t> ends)
    : bytes_(std::move(bytes)), ends_(std::move(ends)) {}

std::string_view PathList::operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_).substr(start, ends_[index] - start);
}

std::vector<std::string> PathList::toVector() const {
    std::vector<std::string> paths;
    paths.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        paths.emplace_back((*this)[i]);
    }
    return paths;
}

void PathList::reserve(std::size_t bytes, std::size_t paths) {
    bytes_.reserve(bytes);
    ends_.reserve(paths);
}

void PathList::push_back(std::string_view path) {
    bytes_.append(path);
    ends_.push_back(bytes_.size());
}

void PathList::append(PathList&& more) {
    if (empty()) {
        *this = std::move(more);
        return;
    }
    reserve(bytes_.size() + more.bytes_.size(), ends_.size() + more.ends_.size());
    const std::size_t shift = bytes_.size();
    bytes_ += more.bytes_;
    for (const std::size_t end : more.ends_) {
        ends_.push_back(end + shift);
    }
    more.clear();
}

void PathList::erase(std::size_t first, std::size_t count) {
    count = std::min(count, size() - std::min(first, size()));
    if (count == 0) {
        return;
    }
    const std::size_t from = first == 0 ? 0 : ends_[first - 1];
    const std::size_t to = ends_[first + count - 1];
    bytes_.erase(from, to - from);
    ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(first),
                ends_.begin() + static_cast<std::ptrdiff_t>(first + count));
    for (std::size_t i = first; i < ends_.size(); ++i) {
        ends_[i] -= to - from;
    }
}

void PathList::clear() {
    // Gives the memory back: a cleared list may have held a million songs. (Assigning an empty
    // string would keep the buffer.)
    std::string().swap(bytes_);
    std::vector<std::size_t>().swap(ends_);
}

}  // namespace velmor::music
