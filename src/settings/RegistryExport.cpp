#include "settings/RegistryExport.h"

#include <optional>
#include <utility>

#include "platform/WindowsNames.h"
#include "settings/NumberRules.h"
#include "settings/WindowsText.h"

namespace velmor::settings {
namespace {

constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kRegedit5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kWineRegistry = "WINE REGISTRY Version 2";
constexpr std::string_view kMachine = "HKEY_LOCAL_MACHINE";
// system.reg says once, in a comment, which key its key names are relative to.
constexpr std::string_view kRelativeTo = ";; All keys relative to ";

std::size_t lineCount(std::string_view text) {
    std::size_t lines = 1;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Takes `prefix` (ASCII letters in any case) off the front of `text`.
bool takePrefix(std::string_view& text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (platform::foldedLetter(text[i]) != prefix[i]) {
            return false;
        }
    }
    text.remove_prefix(prefix.size());
    return true;
}

// Takes hex digits, between one and `most` of them, off the front of `text`; their value.
std::optional<unsigned> takeHex(std::string_view& text, std::size_t most) {
    unsigned value = 0;
    std::size_t digits = 0;
    while (digits < most && digits < text.size() && digitValue(text[digits], 16) >= 0) {
        value = value * 16 + static_cast<unsigned>(digitValue(text[digits], 16));
        ++digits;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    text.remove_prefix(digits);
    return value;
}

class Reader {
  public:
    Reader(std::string_view text, ExportForm form) : text_(text), form_(form) {}

    std::optional<ExportError> run(RegistryExport& out);

  private:
    enum class Current { None, Key, Deleted };

    bool nextLine(std::string_view& line);
    ExportError error(std::string what) const { return {lineNumber_, std::move(what)}; }
    std::optional<ExportError> keyLine(std::string_view line, RegistryExport& out);
    std::optional<ExportError> valueLine(std::string_view line, RegistryExport& out);
    std::optional<ExportError> hexData(std::string_view rest);
    std::optional<ExportError> endOfValue(std::string_view rest) const;
    // A text between double quotes, the opening one already taken; `rest` is left after the
    // closing quote (or at `close` for a key name of system.reg). Nothing when it is not closed.
    std::optional<std::string> quoted(std::string_view& rest, char close = '"') const;
    void wineEscape(std::string_view& rest, Utf16Units& units) const;

    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t lineNumber_ = 0;
    ExportForm form_;
    std::string root_{kMachine};  // system.reg: what its key names are relative to
    Current current_ = Current::None;
    std::string key_;
};

bool Reader::nextLine(std::string_view& line) {
    if (position_ >= text_.size()) {
        return false;
    }
    std::size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos) {
        end = text_.size();
    }
    line = trimmed(text_.substr(position_, end - position_));
    position_ = end + 1;
    ++lineNumber_;
    return true;
}

std::optional<ExportError> Reader::run(RegistryExport& out) {
    std::string_view line;
    nextLine(line);  // the header, already recognised
    while (nextLine(line)) {
        if (form_ == ExportForm::WineRegistry && line.starts_with(kRelativeTo)) {
            std::string_view rest = line.substr(kRelativeTo.size());
            std::string relativeTo;
            Utf16Units units(relativeTo);
            while (!rest.empty()) {
                if (rest.front() == '\\') {
                    wineEscape(rest, units);
                } else {
                    units.finish();
                    relativeTo += rest.front();
                    rest.remove_prefix(1);
                }
            }
            units.finish();
            // Machine keys are those of HKEY_LOCAL_MACHINE; any other file (user.reg) is
            // kept apart by its own root.
            std::string_view machine = relativeTo;
            root_ = takePrefix(machine, "\\machine") && machine.empty() ? std::string(kMachine)
                                                                        : relativeTo;
            continue;
        }
        if (line.empty() || line.front() == ';' ||
            (form_ == ExportForm::WineRegistry && line.front() == '#')) {
            continue;
        }
        std::optional<ExportError> problem;
        if (line.front() == '[') {
            problem = keyLine(line, out);
        } else if (line.front() == '"' || line.front() == '@') {
            problem = valueLine(line, out);
        } else {
            problem = error("neither a key, a value nor a comment");
        }
        if (problem) {
            return problem;
        }
    }
    return std::nullopt;
}

std::optional<ExportError> Reader::keyLine(std::string_view line, RegistryExport& out) {
    line.remove_prefix(1);
    if (form_ == ExportForm::WineRegistry) {
        auto name = quoted(line, ']');
        if (!name) {
            return error("a key name without its closing bracket");
        }
        line.remove_prefix(1);  // the bracket
        line = trimmed(line);
        while (!line.empty() && line.front() >= '0' && line.front() <= '9') {
            line.remove_prefix(1);  // the time of the key's last change
        }
        if (!line.empty()) {
            return error("unexpected text after the key name");
        }
        key_ = root_ + "\\" + *name;
        current_ = Current::Key;
        return std::nullopt;
    }
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) {
        return error("a key name without its closing bracket");
    }
    if (close + 1 != line.size()) {
        return error("unexpected text after the key name");
    }
    if (line.starts_with('-')) {
        ++out.deletions;
        current_ = Current::Deleted;
        return std::nullopt;
    }
    key_ = line.substr(0, close);
    current_ = Current::Key;
    return std::nullopt;
}

std::optional<ExportError> Reader::valueLine(std::string_view line, RegistryExport& out) {
    ExportedValue value;
    value.line = lineNumber_;
    if (line.front() == '@') {
        line.remove_prefix(1);
    } else {
        line.remove_prefix(1);
        auto name = quoted(line);
        if (!name) {
            return error("a value name without its closing quote");
        }
        value.name = std::move(*name);
    }
    line = trimmed(line);
    if (!line.starts_with('=')) {
        return error("a value name without '=' after it");
    }
    line = trimmed(line.substr(1));
    bool deletion = false;
    if (line.starts_with('"')) {
        line.remove_prefix(1);
        auto text = quoted(line);
        if (!text) {
            return error("a text without its closing quote");
        }
        value.text = std::move(*text);
        if (auto problem = endOfValue(line)) {
            return problem;
        }
    } else {
        value.type = ExportedType::Other;
        if (line.starts_with('-')) {
            deletion = true;
            if (auto problem = endOfValue(line.substr(1))) {
                return problem;
            }
        } else if (takePrefix(line, "dword:")) {
            if (!takeHex(line, 8)) {
                return error("a dword value without its hex digits");
            }
            if (auto problem = endOfValue(line)) {
                return problem;
            }
        } else if (std::string_view kind = line; takePrefix(kind, "hex")) {
            // hex: bytes of a binary value, hex(N): those of a value of type N
            bool typed = true;
            if (takePrefix(kind, "(")) {
                typed = takeHex(kind, 8) && takePrefix(kind, ")");
            }
            if (!typed || !takePrefix(kind, ":")) {
                return error("a value of a type this file cannot hold");
            }
            if (auto problem = hexData(kind)) {
                return problem;
            }
        } else if (form_ == ExportForm::WineRegistry && takePrefix(line, "str(") &&
                   takeHex(line, 8) && takePrefix(line, "):\"")) {
            if (!quoted(line)) {
                return error("a text without its closing quote");
            }
            if (auto problem = endOfValue(line)) {
                return problem;
            }
        } else {
            return error("a value of a type this file cannot hold");
        }
    }
    if (current_ == Current::None) {
        return ExportError{value.line, "a value before any key"};
    }
    if (deletion || current_ == Current::Deleted) {
        ++out.deletions;
        return std::nullopt;
    }
    value.key = key_;
    out.values.push_back(std::move(value));
    return std::nullopt;
}

// Bytes written as two hex digits each, separated by commas, continued on the next line after a
// backslash that ends a line.
std::optional<ExportError> Reader::hexData(std::string_view rest) {
    for (;;) {
        rest = trimmed(rest);
        if (rest == "\\") {
            if (!nextLine(rest)) {
                return error("the value goes on past the end of the file");
            }
            continue;
        }
        if (rest.empty() || rest.front() == ';') {
            return std::nullopt;
        }
        if (!takeHex(rest, 2)) {
            return error("not a byte in hex digits");
        }
        rest = trimmed(rest);
        if (rest.starts_with(',')) {
            rest.remove_prefix(1);
        } else if (!rest.empty() && rest != "\\" && rest.front() != ';') {
            return error("bytes not separated by commas");
        }
    }
}

std::optional<ExportError> Reader::endOfValue(std::string_view rest) const {
    rest = trimmed(rest);
    if (!rest.empty() && rest.front() != ';') {
        return error("unexpected text after the value");
    }
    return std::nullopt;
}

std::optional<std::string> Reader::quoted(std::string_view& rest, char close) const {
    std::string text;
    if (form_ != ExportForm::WineRegistry) {
        // regedit escapes only the backslash and the quote; any other backslash is itself.
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const char c = rest[i];
            if (c == '\\' && i + 1 < rest.size() && (rest[i + 1] == '\\' || rest[i + 1] == '"')) {
                text += rest[++i];
            } else if (c == close) {
                rest.remove_prefix(close == '"' ? i + 1 : i);
                return text;
            } else {
                text += c;
            }
        }
        return std::nullopt;
    }
    Utf16Units units(text);
    while (!rest.empty()) {
        const char c = rest.front();
        if (c == '\\') {
            wineEscape(rest, units);
            continue;
        }
        units.finish();
        if (c == close) {
            rest.remove_prefix(close == '"' ? 1 : 0);
            return text;
        }
        text += c;
        rest.remove_prefix(1);
    }
    return std::nullopt;
}

// Wine's escapes: \x and up to four hex digits is a UTF-16 code unit, a backslash and up to three
// octal digits another, \a \b \e \f \n \r \t \v the control characters of C, and a backslash
// before any other character that character.
void Reader::wineEscape(std::string_view& rest, Utf16Units& units) const {
    rest.remove_prefix(1);
    if (rest.empty()) {
        units.add(u'\\');
        return;
    }
    const char c = rest.front();
    rest.remove_prefix(1);
    if (c == 'x') {
        if (const auto unit = takeHex(rest, 4)) {
            units.add(static_cast<char16_t>(*unit));
        } else {
            units.add(u'x');
        }
        return;
    }
    if (c >= '0' && c <= '7') {
        unsigned unit = static_cast<unsigned>(c - '0');
        for (int digits = 1;
             digits < 3 && !rest.empty() && rest.front() >= '0' && rest.front() <= '7'; ++digits) {
            unit = unit * 8 + static_cast<unsigned>(rest.front() - '0');
            rest.remove_prefix(1);
        }
        units.add(static_cast<char16_t>(unit));
        return;
    }
    constexpr std::string_view kLetters = "abefnrtv";
    constexpr std::string_view kControls = "\a\b\x1b\f\n\r\t\v";
    const std::size_t control = kLetters.find(c);
    units.add(static_cast<char16_t>(control == std::string_view::npos
                                        ? static_cast<unsigned char>(c)
                                        : static_cast<unsigned char>(kControls[control])));
}

std::string_view firstLine(std::string_view text) {
    return trimmed(text.substr(0, text.find('\n')));
}

}  // namespace

std::variant<RegistryExport, ExportError> readRegistryExport(std::string_view bytes) {
    std::string text;
    ExportForm form = ExportForm::Regedit4;
    if (bytes.starts_with("\xFF\xFE")) {
        text = fromUtf16le(bytes.substr(2));
        if (bytes.size() % 2 != 0) {
            return ExportError{lineCount(text),
                               "the file ends in the middle of a UTF-16 character"};
        }
        form = ExportForm::Regedit5;
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        text = bytes.substr(3);  // saved again as UTF-8 by a text editor
        form = ExportForm::Regedit5;
    } else if (const std::string_view head = firstLine(bytes); head == kRegedit4) {
        text = fromCp1252(bytes);
    } else if (head == kWineRegistry) {
        text = bytes;
        form = ExportForm::WineRegistry;
    } else {
        text = bytes;
        form = ExportForm::Regedit5;
    }
    const std::string_view header = firstLine(text);
    const bool known = form == ExportForm::Regedit5   ? header == kRegedit5
                       : form == ExportForm::Regedit4 ? header == kRegedit4
                                                      : header == kWineRegistry;
    if (!known) {
        return ExportError{1,
                           "not a registry export: it begins neither with \"REGEDIT4\", "
                           "\"Windows Registry Editor Version 5.00\" nor \"WINE REGISTRY "
                           "Version 2\""};
    }
    RegistryExport result;
    result.form = form;
    result.values.reserve(lineCount(text));
    Reader reader(text, form);
    if (auto problem = reader.run(result)) {
        return std::move(*problem);
    }
    return result;
}

}  // namespace velmor::settings
