#include "music/ComboSongList.h"

#include <QComboBox>
#include <QListView>
#include <QSignalBlocker>

#include "music/PathListModel.h"

namespace velmor::music {

ComboSongList::ComboSongList(QComboBox& list) : list_(list), model_(new PathListModel(&list)) {
    list_.setModel(model_);
    // Measuring every item's text for the list's width would take seconds for a long playlist;
    // the list has a fixed place anyway.
    list_.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* view = qobject_cast<QListView*>(list_.view())) {
        view->setUniformItemSizes(true);
    }
}

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
    return index < 0 ? std::string()
                     : std::string(model_->paths()[static_cast<std::size_t>(index)]);
}

void ComboSongList::clear() {
    model_->clear();
}

void ComboSongList::append(PathList songs) {
    const QSignalBlocker quiet(list_);
    model_->append(std::move(songs));
}

}  // namespace velmor::music
