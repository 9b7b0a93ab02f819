#pragma once

#include <QStringList>

#include "platform/FileDialogs.h"

class QWidget;

namespace velmor::platform {

// Qt's own file dialogs, owned by the main window. Qt's dialog rather than the desktop's, since
// only it is sure to match patterns without regard to letter case.
class QtFileDialogs final : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    std::optional<std::string> openFile(const FileRequest& request) override;
    std::optional<std::string> saveFile(const FileRequest& request) override;
    std::optional<std::string> browseFolder(std::string_view title) override;

  private:
    std::optional<std::string> fileDialog(const FileRequest& request, bool save);
    QWidget* owner_;
};

// "caption|pattern;pattern|caption|pattern" as Qt's filters: "caption (pattern pattern)", one
// for each caption. A caption without a pattern is dropped.
QStringList nameFilters(std::string_view filter);

}  // namespace velmor::platform
