#include "music/ComboSongList.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

namespace velmor::music {
namespace {

// The role under which an item keeps the bytes of a path that UTF-8 cannot carry.
constexpr int kBytesRole = Qt::UserRole + 1;

}  // namespace

int ComboSongList::count() const {
    return list_.count();
}

int ComboSongList::currentIndex() const {
    const int index = list_.currentIndex();
    // Text typed over the current item is not an item: no song is current.
    if (index >= 0 && list_.isEditable() && list_.currentText() != list_.itemText(index)) {
        return -1;
    }
    return index;
}

void ComboSongList::setCurrentIndex(int index) {
    if (index >= -1 && index < list_.count()) {
        list_.setCurrentIndex(index);
    }
}

std::string ComboSongList::currentText() const {
    const int index = currentIndex();
    if (index < 0) {
        return {};
    }
    const QVariant bytes = list_.itemData(index, kBytesRole);
    return bytes.isValid() ? bytes.toByteArray().toStdString()
                           : list_.itemText(index).toStdString();
}

void ComboSongList::clear() {
    list_.clear();
}

void ComboSongList::append(const std::vector<std::string>& songs) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(songs.size()));
    for (const std::string& song : songs) {
        texts << QString::fromUtf8(song.data(), static_cast<qsizetype>(song.size()));
    }
    const int first = list_.count();
    {
        // One insertion for the whole list: a playlist of many thousand songs is added in
        // linear time.
        const QSignalBlocker quiet(list_);
        list_.addItems(texts);
    }
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (texts[static_cast<qsizetype>(i)].toUtf8().toStdString() != songs[i]) {
            list_.setItemData(first + static_cast<int>(i), QByteArray::fromStdString(songs[i]),
                              kBytesRole);
        }
    }
}

}  // namespace velmor::music
