#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmor::platform {

struct FileRequest {
    std::string title;
    // Captions and patterns, all joined by '|': "Bitmaps|*.bmp|Saved States|*.zs?;*.spc". The
    // patterns of one caption are separated by ';' and match without regard to letter case.
    std::string filter;
    std::string folder;    // the start folder; empty: the dialog's own choice
    int filterIndex = 1;   // the caption chosen first, counted from 1
    std::string fileName;  // the file name the dialog starts with
};

// The system's modal file dialogs. Each returns the chosen full path, or nothing when cancelled.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> openFile(const FileRequest& request) = 0;
    // Replaces an existing file without asking, and adds no extension.
    virtual std::optional<std::string> saveFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> browseFolder(std::string_view title) = 0;
};

}  // namespace velmor::platform
