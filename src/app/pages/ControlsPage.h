#pragma once

#include <QWidget>

namespace velmor::app {

// The controls tab: the input device of each of the two players. Its controls sit on the tab
// itself, with no page frame.
class ControlsPage final : public QWidget {
    Q_OBJECT

  public:
    explicit ControlsPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
