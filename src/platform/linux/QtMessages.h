#pragma once

#include "platform/Messages.h"

class QWidget;

namespace velmor::platform {

// Message boxes owned by the main window, with no icon.
class QtMessages final : public Messages {
  public:
    explicit QtMessages(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    void show(std::string_view text) override;
    Answer ask(std::string_view text, std::string_view title) override;

  private:
    QWidget* owner_;
};

}  // namespace velmor::platform
