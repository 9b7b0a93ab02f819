#include "launch/ExtractedRomPath.h"

namespace velmor::launch {

std::string extractedRomPath(std::string_view messageText) {
    constexpr std::size_t kActionField = 13;
    constexpr std::size_t kLineEnd = 3;
    if (messageText.size() <= kActionField + kLineEnd) {
        return {};
    }
    return std::string(
        messageText.substr(kActionField, messageText.size() - kActionField - kLineEnd));
}

}  // namespace velmor::launch
