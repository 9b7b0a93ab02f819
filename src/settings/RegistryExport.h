#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmor::settings {

// The three forms in which the Windows version's settings leave a Windows registry: an export
// by regedit of Windows 95 to Me ("REGEDIT4", text in code page 1252), one by regedit of later
// Windows ("Windows Registry Editor Version 5.00", UTF-16LE after its byte order mark), and the
// file in which Wine keeps a prefix's machine keys, system.reg ("WINE REGISTRY Version 2").
enum class ExportForm { Regedit4, Regedit5, WineRegistry };

// A value line holds a text (REG_SZ, written "name"="data") or data of another type (a number,
// bytes, an expandable or multiple text), which is recognised but not kept.
enum class ExportedType { Text, Other };

struct ExportedValue {
    // The key's full name, root first: HKEY_LOCAL_MACHINE\Software\Velmor\Paths. (system.reg
    // names its keys relative to HKEY_LOCAL_MACHINE; they are given here with the root.)
    std::string key;
    std::string name;  // empty for the key's unnamed value ("@")
    ExportedType type = ExportedType::Text;
    std::string text;      // UTF-8; texts only
    std::size_t line = 0;  // where the value's line is in the file, from 1
};

struct RegistryExport {
    ExportForm form = ExportForm::Regedit4;
    std::vector<ExportedValue> values;
    // Lines that delete a key ("[-...]") or a value ("name"=-), and the values under a deleted
    // key: an import passes them over.
    std::size_t deletions = 0;
};

struct ExportError {
    std::size_t line = 0;  // from 1
    std::string what;
};

// The values of a registry export, in the order of the file, with every text and name in UTF-8,
// or the first line that is not part of such a file and why.
std::variant<RegistryExport, ExportError> readRegistryExport(std::string_view bytes);

}  // namespace velmor::settings
