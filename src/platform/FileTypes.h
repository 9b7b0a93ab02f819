#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::platform {

// A picture the desktop shows for a program or a kind of file: its name in the icon theme and
// its PNG bytes at each side length (in pixels) it was drawn at.
struct IconImages {
    std::string name;
    std::map<int, std::string> png;
};

// One kind of file as the desktop's file-type store knows it. The name alone would take the
// files of other programs that share the extension, so the file's first bytes decide as well.
struct FileType {
    std::string mimeType;   // "audio/x-velmor-spc"
    std::string comment;    // the name the shell shows for the type
    std::string extension;  // without the dot, matched without regard to case
    int globWeight = 50;    // the store's usual weight
    std::string magic;      // the bytes such a file begins with; empty: the name alone
    int magicPriority = 50;
    IconImages icon;
    // The types of other programs whose files have the same extension.
    std::vector<std::string> sharedWith;
};

// The program that opens the files: it lives in `programFolder` as the file "velmor".
struct FileOpener {
    std::string programFolder;
    IconImages icon;
};

// The desktop's store of file types and of the programs that open them.
class FileTypes {
  public:
    virtual ~FileTypes() = default;
    // Makes the shell open files of `type` with `opener`. Entries written before, for this type
    // or others, stay; a store that cannot be written is passed over without a word.
    virtual void registerType(const FileType& type, const FileOpener& opener) = 0;
};

}  // namespace velmor::platform
