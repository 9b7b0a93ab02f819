#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UniqueFd.h"

namespace velmor::launch {

using platform::UniqueFd;

// Where a member goes below the extraction folder: the folders to pass and the file's name.
struct Placement {
    std::vector<std::string> folders;
    std::string name;
    std::string_view problem;  // why the member has no place; empty when it has one

    std::string relativePath() const {
        std::string path;
        for (const auto& folder : folders) {
            path += folder;
            path += '/';
        }
        return path + name;
    }
};

// Where the member stored as `stored` goes. Stored names are written by whoever made the archive;
// both separators count, and no component may climb out of the folder or name it.
Placement placeMember(std::string_view stored, bool keepDirectories, bool isFolder);

// A file being written under a temporary name in a folder. It takes its real name only at
// commit(); until then nobody sees a half-written file under that name, and a file that is
// never committed is removed again.
class PendingFile final {
  public:
    // Creates a new, empty file in the folder `folder` (a descriptor that must outlive this).
    // Returns 0 or the errno of the failure.
    static int create(int folder, std::optional<PendingFile>& out);

    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // Appends the bytes; 0 or an errno.
    int write(const char* data, std::size_t size);
    // Gives the file the name `name` in its folder. With `replace`, whatever has that name is
    // replaced (a link itself, never what it points to); without, the commit fails with EEXIST
    // when the name is taken. 0 or an errno.
    int commit(const std::string& name, bool replace);

  private:
    PendingFile(int folder, std::string tempName, UniqueFd fd);

    int folder_;
    std::string tempName_;
    UniqueFd fd_;
    bool committed_ = false;
};

// The folder members are extracted into. Everything below it is reached through descriptors
// opened without following links, so no name in an archive and no link planted in the folder
// can lead a write outside it.
class ExtractionFolder final {
  public:
    // Opens the folder at `path`, refusing a link. 0 or an errno.
    static int open(const std::string& path, std::optional<ExtractionFolder>& out);

    // The folder `names` below this one (each a single plain component), made where missing.
    // Fails with ELOOP or ENOTDIR where one of them is a link or not a folder. 0 or an errno.
    int subfolder(const std::vector<std::string>& names, UniqueFd& out) const;

    // The folder's own descriptor.
    int fd() const { return root_.get(); }

    // True when something (a file, folder or link) has the name `name` in the folder `folder`.
    static bool exists(int folder, const std::string& name);

  private:
    explicit ExtractionFolder(UniqueFd root) : root_(std::move(root)) {}

    UniqueFd root_;
};

}  // namespace velmor::launch
