#include "music/PathListModel.h"

namespace velmor::music {
namespace {

// No path the system opens is longer (PATH_MAX). A longer one is shown cut: laying out a line of
// millions of characters would hold the window up for seconds.
constexpr std::size_t kLongestShown = 4096;

}  // namespace

int PathListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(paths_.size());
}

QVariant PathListModel::data(const QModelIndex& index, int role) const {
    // A combo box asks for the text of "no item" as well.
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const std::string_view path = paths_[static_cast<std::size_t>(index.row())];
    if (path.size() > kLongestShown) {
        return QString::fromUtf8(path.data(), kLongestShown) + QChar(0x2026);  // an ellipsis
    }
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

bool PathListModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) {
        return false;
    }
    beginRemoveRows({}, row, row + count - 1);
    paths_.erase(static_cast<std::size_t>(row), static_cast<std::size_t>(count));
    endRemoveRows();
    return true;
}

void PathListModel::append(PathList more) {
    if (more.empty()) {
        return;
    }
    // The room first: the views learn of the new items only once nothing can fail. An empty
    // list takes the new one over whole.
    if (!paths_.empty()) {
        paths_.reserve(paths_.byteCount() + more.byteCount(), paths_.size() + more.size());
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    paths_.append(std::move(more));
    endInsertRows();
}

void PathListModel::clear() {
    beginResetModel();
    paths_.clear();
    endResetModel();
}

}  // namespace velmor::music
