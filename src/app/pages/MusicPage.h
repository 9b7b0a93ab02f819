#pragma once

#include <QWidget>

namespace velmor::app {

// The music tab: the song timer, the song list and the player buttons, on a black page.
class MusicPage final : public QWidget {
    Q_OBJECT

  public:
    explicit MusicPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
