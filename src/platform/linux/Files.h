#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velmor::platform {

// True when `path` names a regular file that can be opened for reading. A folder, an empty path,
// a missing file and a file the user may not read all give false.
bool fileExists(std::string_view path);

// What keeps the program at `path` from being run, said for the user ("ZSNES was not found at
// ..."); `program` names it and `pathsEntry` is its entry on the paths tab. Nothing when it can be
// run.
std::optional<std::string> programProblem(const std::string& path, std::string_view program,
                                          std::string_view pathsEntry);

// True when `path` can stand in a command line as it is: it is not empty, every character is
// one of A-Z a-z 0-9 / . _ - + , = @ % or a ':' or '~' that does not begin a name, it does not
// begin with '-' (it would read as a switch) and, unless it is absolute, holds no '=' (as the
// first word it would read as a shell assignment).
bool isPlainPath(std::string_view path);

// The folder that holds the program's private folders: $XDG_RUNTIME_DIR/velmor when that
// variable names an absolute plain path to a real folder of the user that no one else may
// write, else /tmp/velmor-UID.
std::filesystem::path privateRoot();

// The private folder `name` under `root` (`privateRoot()` by default), each made with mode 0700
// when missing and narrowed to it when found wider. Nothing when either is a symbolic link or
// not a folder, belongs to another user, or cannot be made: what the program keeps there must be
// out of reach of other users.
std::optional<std::filesystem::path> privateFolder(std::string_view name);
std::optional<std::filesystem::path> privateFolder(const std::filesystem::path& root,
                                                   std::string_view name);

}  // namespace velmor::platform
