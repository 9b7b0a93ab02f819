#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileTypes.h"

namespace velmor::platform {

// Where a user's desktop keeps its file types and its choice of programs.
struct XdgFolders {
    std::filesystem::path dataHome;               // mime/, applications/, icons/
    std::filesystem::path configHome;             // mimeapps.list
    std::vector<std::filesystem::path> dataDirs;  // the system's, most important first
    // $XDG_DATA_HOME and $XDG_CONFIG_HOME, else ~/.local/share and ~/.config (a relative or
    // missing folder is empty); $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
    static XdgFolders fromEnvironment();
};

// The freedesktop.org file-type store of one user: a MIME package, a desktop entry, icons in
// the hicolor theme and the default programs in mimeapps.list; then the desktop's caches are
// brought up to date by its own tools where they are installed. A file is written only when its
// content changes, so registering again leaves the store as it was.
class XdgFileTypes final : public FileTypes {
  public:
    explicit XdgFileTypes(XdgFolders folders);
    void registerType(const FileType& type, const FileOpener& opener) override;

  private:
    XdgFolders folders_;
    std::vector<FileType> types_;  // registered by this program so far, in order
};

// The name under which the desktop knows the program.
inline constexpr std::string_view kDesktopId = "velmor.desktop";

// The MIME package that describes `types`, and repeats the system's definitions of the types
// they share their extensions with (`shared`: each type's definition file as the system has it).
std::string mimePackage(const std::vector<FileType>& types,
                        const std::map<std::string, std::string>& shared = {});

// The desktop entry that opens `types` with the program "velmor" in `programFolder`; empty when
// the folder's name cannot be written into one (not UTF-8, or control characters in it).
std::string desktopEntry(const std::vector<FileType>& types, std::string_view programFolder);

// `word` as one argument of a desktop entry's Exec key: quoted where it holds a reserved
// character, with field-code percent signs doubled and the value escapes applied.
std::string desktopExecArgument(std::string_view word);

// `list` (the text of a mimeapps.list) with `desktopId` first among the default programs of
// `mimeType`; every other line stays as it was.
std::string withDefaultProgram(std::string_view list, std::string_view mimeType,
                               std::string_view desktopId);

}  // namespace velmor::platform
