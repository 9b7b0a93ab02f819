#pragma once

#include <QWidget>

namespace velmor::app {

// The pictures tab: the picture linked to the current game and the ways of linking one.
class PicturesPage final : public QWidget {
    Q_OBJECT

  public:
    explicit PicturesPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
