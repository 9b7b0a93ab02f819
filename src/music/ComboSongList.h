#pragma once

#include "music/SongList.h"

class QComboBox;

namespace velmor::music {

// The song list in its drop-down list. A path is kept as the bytes it came as, so that a file
// name that is not valid UTF-8 still reaches the player unchanged.
class ComboSongList final : public SongList {
  public:
    explicit ComboSongList(QComboBox& list) : list_(list) {}

    int count() const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    std::string currentText() const override;
    void clear() override;
    void append(const std::vector<std::string>& songs) override;

  private:
    QComboBox& list_;
};

}  // namespace velmor::music
