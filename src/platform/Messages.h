#pragma once

#include <string_view>

namespace velmor::platform {

// Modal message boxes with an OK button, no icon and the program's title.
class Messages {
  public:
    virtual ~Messages() = default;
    virtual void show(std::string_view text) = 0;
};

}  // namespace velmor::platform
