// libFuzzer target: mutated registry exports go through the reader; what it reads is written
// again as a Wine registry file and must read back the same. Built and run by tools/fuzz.sh.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <variant>
#include <vector>

#include "settings/RegistryExport.h"

namespace {

using velmor::settings::ExportedType;
using velmor::settings::ExportedValue;
using velmor::settings::ExportError;
using velmor::settings::RegistryExport;

constexpr std::string_view kMachine = "HKEY_LOCAL_MACHINE\\";

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "registry export fuzzer: %s\n", what);
    std::abort();
}

// A text between Wine's quotes (or a key name between its brackets): backslashes, the quote and
// the bracket escaped, control characters in octal, every other byte as it is.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"' || c == ']') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += '\\';
            out += static_cast<char>('0' + (byte >> 6));
            out += static_cast<char>('0' + ((byte >> 3) & 7));
            out += static_cast<char>('0' + (byte & 7));
        } else {
            out += c;
        }
    }
    return out;
}

using Row = std::tuple<std::string, std::string, ExportedType, std::string>;

std::vector<Row> machineRows(const RegistryExport& file) {
    std::vector<Row> rows;
    for (const ExportedValue& value : file.values) {
        if (value.key.starts_with(kMachine)) {
            rows.emplace_back(value.key, value.name, value.type, value.text);
        }
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = velmor::settings::readRegistryExport(bytes);
    if (const auto* error = std::get_if<ExportError>(&read)) {
        if (error->line == 0 || error->line > size + 1 || error->what.empty()) {
            fail("an error without a line in the file or a reason");
        }
        return 0;
    }
    const RegistryExport& file = std::get<RegistryExport>(read);
    std::size_t previous = 1;  // the header's
    for (const ExportedValue& value : file.values) {
        if (value.line <= previous || value.line > size + 1) {
            fail("a value's line is not after the one before, or past the end of the file");
        }
        previous = value.line;
        if (value.type != ExportedType::Text && !value.text.empty()) {
            fail("a value of another type with a text");
        }
    }

    std::string again = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n";
    std::string_view key;
    for (const ExportedValue& value : file.values) {
        if (!value.key.starts_with(kMachine)) {
            continue;
        }
        if (value.key != key) {
            key = value.key;
            again += '[' + escaped(key.substr(kMachine.size())) + "] 1700000000\n";
        }
        again += value.name.empty() ? "@" : '"' + escaped(value.name) + '"';
        again += value.type == ExportedType::Text ? "=\"" + escaped(value.text) + "\"\n"
                                                  : std::string("=hex:00\n");
    }
    const auto reread = velmor::settings::readRegistryExport(again);
    if (!std::holds_alternative<RegistryExport>(reread)) {
        fail("the values written again do not read");
    }
    if (machineRows(std::get<RegistryExport>(reread)) != machineRows(file)) {
        fail("the values written again read otherwise");
    }
    return 0;
}
