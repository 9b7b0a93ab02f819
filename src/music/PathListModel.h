#pragma once

#include <QAbstractListModel>

#include "music/PathList.h"

namespace velmor::music {

// A list of paths shown by a standard Qt view: each path is an item whose text is the path read
// as UTF-8 (cut after 4096 bytes); the bytes themselves stay as they came, for the player and the
// playlist file. Only the items in sight are ever turned into text.
class PathListModel final : public QAbstractListModel {
    Q_OBJECT

  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    const PathList& paths() const { return paths_; }
    // Adds `more` after the last item. Should memory run out, the list stays as it was.
    void append(PathList more);
    void clear();

  private:
    PathList paths_;
};

}  // namespace velmor::music
