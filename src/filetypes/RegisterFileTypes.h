#pragma once

#include <string_view>

#include "platform/FileTypes.h"
#include "platform/ProgramInfo.h"

namespace velmor::filetypes {

// What the desktop is told about files with `extension`. Only "spl" (compared with regard to
// case) is a playlist; every other extension is named and drawn as music. The three the program
// registers carry the bytes their files begin with, so that Flash movies (.spl), certificates
// (.spc) and Zstandard archives (.zst) stay what they are.
platform::FileType fileTypeFor(std::string_view extension);

// Makes the shell open files with `extension` with this program.
void regFileType(platform::FileTypes& fileTypes, const platform::ProgramInfo& program,
                 std::string_view extension);

// "Register Filetypes": playlists, SPC music files and save states, in that order.
void regFilesClick(platform::FileTypes& fileTypes, const platform::ProgramInfo& program);

}  // namespace velmor::filetypes
