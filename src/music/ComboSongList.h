#pragma once

#include "music/SongList.h"

class QComboBox;

namespace velmor::music {

class PathListModel;

// The song list in its drop-down list. The list shows a model of its own that keeps each path as
// the bytes it came as, so that a file name that is not valid UTF-8 still reaches the player
// unchanged, and a playlist of a million songs costs little more than its bytes.
class ComboSongList final : public SongList {
  public:
    // The list takes the model as its child.
    explicit ComboSongList(QComboBox& list);

    int count() const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    std::string currentText() const override;
    void clear() override;
    void append(PathList songs) override;

  private:
    QComboBox& list_;
    PathListModel* model_;
};

}  // namespace velmor::music
