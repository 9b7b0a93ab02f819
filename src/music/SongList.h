#pragma once

#include <string>

#include "music/PathList.h"

namespace velmor::music {

// The music tab's song list, MusicList: file paths, of which the current one is the song.
class SongList {
  public:
    virtual ~SongList() = default;
    virtual int count() const = 0;
    // The current song's index, -1 for none.
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
    virtual std::string currentText() const = 0;
    virtual void clear() = 0;
    // Adds `songs` after the last item, all in one step. Should memory run out (std::bad_alloc),
    // the list stays as it was.
    virtual void append(PathList songs) = 0;
};

}  // namespace velmor::music
