#pragma once

#include <string>
#include <string_view>

namespace velmor::platform {

// Windows compares the names of registry keys and values, and drive letters, without regard to
// the case of ASCII letters; other characters compare as they are.
constexpr char foldedLetter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The name with its ASCII letters in lower case: names alike but for such case fold alike.
inline std::string foldedName(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        c = foldedLetter(c);
    }
    return result;
}

}  // namespace velmor::platform
