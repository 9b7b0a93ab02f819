#pragma once

#include <string_view>

namespace velmor::platform {

// Modal message boxes with no icon.
class Messages {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Messages() = default;
    // `text` with an OK button, under the program's title.
    virtual void show(std::string_view text) = 0;
    // A question with Yes, No and Cancel under a title of its own. Closing the box is Cancel.
    virtual Answer ask(std::string_view text, std::string_view title) = 0;
};

}  // namespace velmor::platform
