#include "platform/linux/XdgFileTypes.h"

#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUtf8StringView>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace velmor::platform {
namespace fs = std::filesystem;

namespace {

// Far above any mimeapps.list a person keeps; a larger file is not read into memory, and left.
constexpr std::uintmax_t kLargestEditedFile = 4 * 1024 * 1024;
constexpr int kToolTimeoutMs = 30000;

fs::path folderFrom(const char* variable, std::string_view fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && fs::path(value).is_absolute()) {
        return value;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && fs::path(home).is_absolute()) {
        return fs::path(home) / fallbackUnderHome;
    }
    return {};
}

// The file's bytes, or nothing when it is missing, not a plain file or too large to be ours.
std::optional<std::string> readSmallFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error) || fs::file_size(path, error) > kLargestEditedFile ||
        error) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// Replaces the file as a whole, once the new content is complete, and only when it changes:
// a file the desktop is reading is never seen half written.
void writeIfChanged(const fs::path& path, const std::string& bytes) {
    if (readSmallFile(path) == bytes) {
        return;
    }
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    QSaveFile file(QString::fromStdString(path.string()));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.commit();
    }
}

void runTool(const char* tool, const fs::path& folder) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty()) {
        return;
    }
    QProcess process;
    // The tools' advice is for a person at a terminal; the program has none to give it to.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {QString::fromStdString(folder.string())});
    if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
}

void writeIcons(const fs::path& theme, std::string_view context, const IconImages& icon) {
    if (icon.name.empty() || icon.name.find('/') != std::string::npos) {
        return;
    }
    for (const auto& [side, png] : icon.png) {
        const std::string size = std::to_string(side) + "x" + std::to_string(side);
        writeIfChanged(theme / size / context / (icon.name + ".png"), png);
    }
}

bool isUtf8(std::string_view text) {
    return QUtf8StringView(text.data(), static_cast<qsizetype>(text.size())).isValidUtf8();
}

// The elements of a system definition file's <mime-type> (comments in every language, icons,
// globs, magic, aliases, parents), copied as they are; a file that is not one is left out.
void copyDefinition(QXmlStreamWriter& writer, const std::string& name,
                    const std::string& definition) {
    // Walks the children of <mime-type>, writing them when `out` is given. True when the file
    // is a definition of `name` and reads without error.
    const auto walk = [&](QXmlStreamWriter* out) {
        QXmlStreamReader reader(QByteArray::fromStdString(definition));
        if (!reader.readNextStartElement() || reader.name() != QLatin1String("mime-type") ||
            reader.attributes().value(QLatin1String("type")) != QString::fromStdString(name)) {
            return false;
        }
        for (int depth = 0; !reader.atEnd();) {
            const auto token = reader.readNext();
            if (token == QXmlStreamReader::EndElement && depth-- == 0) {
                return true;  // the end of <mime-type>
            }
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                if (out != nullptr) {
                    out->writeStartElement(reader.name().toString());
                    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                        out->writeAttribute(attribute.qualifiedName().toString(),
                                            attribute.value().toString());
                    }
                }
            } else if (token == QXmlStreamReader::EndElement && out != nullptr) {
                out->writeEndElement();
            } else if (token == QXmlStreamReader::Characters && !reader.isWhitespace() &&
                       out != nullptr) {
                out->writeCharacters(reader.text().toString());
            }
        }
        return false;
    };
    // Checked whole first: nothing of a damaged file reaches the package.
    if (walk(nullptr)) {
        writer.writeStartElement(QStringLiteral("mime-type"));
        writer.writeAttribute(QStringLiteral("type"), QString::fromStdString(name));
        walk(&writer);
        writer.writeEndElement();
    }
}

}  // namespace

XdgFolders XdgFolders::fromEnvironment() {
    XdgFolders folders{
        folderFrom("XDG_DATA_HOME", ".local/share"), folderFrom("XDG_CONFIG_HOME", ".config"), {}};
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    const std::string_view list =
        dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share";
    for (std::size_t at = 0; at <= list.size();) {
        const std::size_t end = std::min(list.find(':', at), list.size());
        const fs::path dir(list.substr(at, end - at));
        if (dir.is_absolute()) {
            folders.dataDirs.push_back(dir);
        }
        at = end + 1;
    }
    return folders;
}

XdgFileTypes::XdgFileTypes(XdgFolders folders) : folders_(std::move(folders)) {}

void XdgFileTypes::registerType(const FileType& type, const FileOpener& opener) {
    if (folders_.dataHome.empty()) {
        return;
    }
    const auto known = std::find_if(types_.begin(), types_.end(), [&](const FileType& other) {
        return other.mimeType == type.mimeType;
    });
    if (known != types_.end()) {
        *known = type;
    } else {
        types_.push_back(type);
    }
    const std::string entry = desktopEntry(types_, opener.programFolder);
    if (entry.empty()) {
        return;  // a program the desktop could not be told how to start
    }

    const fs::path& data = folders_.dataHome;
    writeIcons(data / "icons/hicolor", "mimetypes", type.icon);
    writeIcons(data / "icons/hicolor", "apps", opener.icon);
    // Qt's database takes a file name's types from the user's store alone once a glob there
    // matches, without looking at the system's: a Zstandard archive would then be taken for a
    // save state. Repeating the system's definition of each type that shares an extension keeps
    // both in view, and keeps its names and icons as the system has them.
    std::map<std::string, std::string> shared;
    for (const FileType& known : types_) {
        for (const std::string& other : known.sharedWith) {
            for (const fs::path& dir : folders_.dataDirs) {
                if (dir == data || other.find("..") != std::string::npos) {
                    continue;
                }
                if (const auto definition = readSmallFile(dir / "mime" / (other + ".xml"))) {
                    shared.emplace(other, *definition);
                    break;
                }
            }
        }
    }
    writeIfChanged(data / "mime/packages/velmor.xml", mimePackage(types_, shared));
    writeIfChanged(data / "applications" / kDesktopId, entry);
    if (!folders_.configHome.empty()) {
        const fs::path listPath = folders_.configHome / "mimeapps.list";
        std::error_code error;
        const bool exists = fs::exists(fs::symlink_status(listPath, error));
        const std::optional<std::string> list = readSmallFile(listPath);
        // An existing list that cannot be read whole is the user's and is left alone.
        if (list || !exists) {
            writeIfChanged(listPath,
                           withDefaultProgram(list.value_or(""), type.mimeType, kDesktopId));
        }
    }
    runTool("update-mime-database", data / "mime");
    runTool("update-desktop-database", data / "applications");
}

std::string mimePackage(const std::vector<FileType>& types,
                        const std::map<std::string, std::string>& shared) {
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeStartDocument();
    writer.writeDefaultNamespace(
        QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    writer.writeStartElement(QStringLiteral("mime-info"));
    for (const FileType& type : types) {
        writer.writeStartElement(QStringLiteral("mime-type"));
        writer.writeAttribute(QStringLiteral("type"), QString::fromStdString(type.mimeType));
        writer.writeTextElement(QStringLiteral("comment"), QString::fromStdString(type.comment));
        if (!type.icon.name.empty()) {
            writer.writeEmptyElement(QStringLiteral("icon"));
            writer.writeAttribute(QStringLiteral("name"), QString::fromStdString(type.icon.name));
        }
        writer.writeEmptyElement(QStringLiteral("glob"));
        writer.writeAttribute(QStringLiteral("pattern"),
                              QString::fromStdString("*." + type.extension));
        writer.writeAttribute(QStringLiteral("weight"), QString::number(type.globWeight));
        if (!type.magic.empty()) {
            writer.writeStartElement(QStringLiteral("magic"));
            writer.writeAttribute(QStringLiteral("priority"), QString::number(type.magicPriority));
            writer.writeEmptyElement(QStringLiteral("match"));
            writer.writeAttribute(QStringLiteral("type"), QStringLiteral("string"));
            writer.writeAttribute(QStringLiteral("value"), QString::fromStdString(type.magic));
            writer.writeAttribute(QStringLiteral("offset"), QStringLiteral("0"));
            writer.writeEndElement();
        }
        writer.writeEndElement();
    }
    for (const auto& [name, definition] : shared) {
        copyDefinition(writer, name, definition);
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml.toStdString();
}

std::string desktopExecArgument(std::string_view word) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    constexpr std::string_view kEscapedInQuotes = "\"`$\\";
    const bool quoted = word.find_first_of(kReserved) != std::string_view::npos;
    std::string argument;
    for (const char c : word) {
        if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) {
            argument += '\\';
        }
        argument += c;
        if (c == '%') {
            argument += '%';
        }
    }
    if (quoted) {
        argument = '"' + argument + '"';
    }
    // The value escapes of a desktop entry apply before the quoting is read.
    std::string value;
    for (const char c : argument) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string desktopEntry(const std::vector<FileType>& types, std::string_view programFolder) {
    const bool control = std::any_of(programFolder.begin(), programFolder.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') || c == 0x7f;
    });
    if (control || !isUtf8(programFolder)) {
        return {};
    }
    std::string mimeTypes;
    for (const FileType& type : types) {
        mimeTypes += type.mimeType + ';';
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmor\n"
           "GenericName=Super Nintendo Front-End\n"
           "Comment=Start Super Nintendo games in ZSNES and play their music with SPCPlay\n"
           "Icon=velmor\n"
           "Exec=" +
           desktopExecArgument(std::string(programFolder) + "/velmor") +
           " %f\n"
           "Terminal=false\n"
           "Categories=Game;Emulator;\n"
           "MimeType=" +
           mimeTypes + "\n";
}

std::string withDefaultProgram(std::string_view list, std::string_view mimeType,
                               std::string_view desktopId) {
    constexpr std::string_view kSection = "[Default Applications]";
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = std::min(list.find('\n', at), list.size());
        lines.emplace_back(list.substr(at, end - at));
        at = end + 1;
    }
    const auto trimmed = [](std::string_view text) {
        const auto first = text.find_first_not_of(" \t\r");
        return first == std::string_view::npos
                   ? std::string_view{}
                   : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
    };

    const std::string ours = std::string(desktopId) + ';';
    auto section = std::find_if(lines.begin(), lines.end(),
                                [&](const std::string& line) { return trimmed(line) == kSection; });
    const bool newSection = section == lines.end();
    if (newSection) {
        if (!lines.empty() && !trimmed(lines.back()).empty()) {
            lines.emplace_back();
        }
        lines.emplace_back(kSection);
        lines.push_back(std::string(mimeType) + '=' + ours);
    } else {
        auto last = section;  // the section's last line that is not blank
        auto line = std::next(section);
        for (; line != lines.end() && !trimmed(*line).starts_with('['); ++line) {
            const std::string_view text = *line;
            const std::size_t equals = text.find('=');
            if (equals != std::string_view::npos && trimmed(text.substr(0, equals)) == mimeType) {
                break;
            }
            if (!trimmed(text).empty()) {
                last = line;
            }
        }
        if (line != lines.end() && !trimmed(*line).starts_with('[')) {
            // Ours first, the others after it in their order.
            const std::string_view programs =
                trimmed(std::string_view(*line).substr(line->find('=') + 1));
            std::string value = ours;
            for (std::size_t at = 0; at < programs.size();) {
                const std::size_t end = std::min(programs.find(';', at), programs.size());
                const std::string_view program = trimmed(programs.substr(at, end - at));
                if (!program.empty() && program != desktopId) {
                    value += std::string(program) + ';';
                }
                at = end + 1;
            }
            *line = std::string(mimeType) + '=' + value;
        } else {
            lines.insert(std::next(last), std::string(mimeType) + '=' + ours);
        }
    }

    std::string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        result += lines[i];
        // The last line keeps what it had: a final line feed, or none.
        if (i + 1 < lines.size() || list.empty() || list.ends_with('\n') || newSection) {
            result += '\n';
        }
    }
    return result;
}

}  // namespace velmor::platform
