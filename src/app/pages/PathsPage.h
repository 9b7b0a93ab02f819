#pragma once

#include <QWidget>

namespace velmor::app {

// The paths tab: one text box that shows and edits the path chosen in the list below it.
class PathsPage final : public QWidget {
    Q_OBJECT

  public:
    explicit PathsPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
