#pragma once

#include <string_view>

namespace velmor::settings {

// A text without the blanks at its ends. Blanks are spaces only, as the Windows program's Trim
// counted them: tabs and line ends are part of the text.
constexpr std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A text without the blanks at its end.
constexpr std::string_view trimTrailingBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace velmor::settings
