#include "launch/Unzip.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>

#include "launch/UnzipFolder.h"

namespace velmor::launch {
namespace {

// The action fields of the report, as Info-ZIP's UnZip prints them.
constexpr std::string_view kInflating = "  inflating: ";
constexpr std::string_view kExtracting = " extracting: ";
constexpr std::string_view kCreating = "   creating: ";
constexpr std::string_view kSkipping = "   skipping: ";
constexpr std::string_view kError = "  error:  ";

constexpr std::size_t kCopyBuffer = std::size_t{256} << 10;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct MemberCloser {
    void operator()(zip_file_t* member) const { zip_fclose(member); }
};
using Member = std::unique_ptr<zip_file_t, MemberCloser>;

class Report final {
  public:
    explicit Report(const std::function<void(std::string_view)>& print) : print_(print) {}

    template <typename... Pieces>
    void line(const Pieces&... pieces) const {
        if (!print_) {
            return;
        }
        std::string text;
        (text.append(std::string_view(pieces)), ...);
        text += '\n';
        print_(text);
    }

  private:
    const std::function<void(std::string_view)>& print_;
};

enum class Kind { File, Folder, Link, Other };

// What the member is, by its stored attributes and the shape of its name.
Kind memberKind(zip_t* archive, zip_uint64_t index, std::string_view name) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) == 0) {
        if (system == ZIP_OPSYS_UNIX) {
            switch ((attributes >> 16) & S_IFMT) {
                case 0:
                case S_IFREG:
                    break;
                case S_IFDIR:
                    return Kind::Folder;
                case S_IFLNK:
                    return Kind::Link;
                default:
                    return Kind::Other;
            }
        } else if (system == ZIP_OPSYS_DOS && (attributes & 0x10) != 0) {
            return Kind::Folder;
        }
    }
    if (!name.empty() && (name.back() == '/' || name.back() == '\\')) {
        return Kind::Folder;
    }
    return Kind::File;
}

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

std::vector<std::string_view> nameComponents(std::string_view name) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            components.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return components;
}

// Stored names are written by whoever made the archive; both separators count, and no
// component may climb out of the folder or name it.
Placement placeMember(std::string_view stored, bool keepDirectories, bool isFolder) {
    Placement place;
    const auto components = nameComponents(stored);
    if (!keepDirectories) {
        place.name = std::string(components.back());
        if (place.name.empty() || place.name == "." || place.name == "..") {
            place.problem = "no usable file name";
        }
        return place;
    }
    for (const auto component : components) {
        if (component == "..") {
            place.problem = "name leads out of the folder";
            return place;
        }
        if (!component.empty() && component != ".") {
            place.folders.emplace_back(component);
        }
    }
    if (isFolder) {
        if (place.folders.empty()) {
            place.problem = "no usable folder name";
        }
        return place;
    }
    const auto& last = components.back();
    if (last.empty() || last == "." || place.folders.empty()) {
        place.problem = "no usable file name";
        return place;
    }
    place.name = std::move(place.folders.back());
    place.folders.pop_back();
    return place;
}

bool matchesAny(const std::vector<std::string>& patterns, const char* name) {
    for (const auto& pattern : patterns) {
        if (::fnmatch(pattern.c_str(), name, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string errorText(int error) {
    return std::strerror(error);
}

void listMembers(zip_t* archive, zip_int64_t count, const std::vector<std::string>& include,
                 const std::vector<std::string>& exclude, const Report& report) {
    report.line("  Length      Date    Time    Name");
    report.line("---------  ---------- -----   ----");
    std::uint64_t total = 0;
    std::uint64_t listed = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t status;
        if (zip_stat_index(archive, index, ZIP_FL_ENC_GUESS, &status) != 0 ||
            (status.valid & ZIP_STAT_NAME) == 0) {
            continue;
        }
        if ((!include.empty() && !matchesAny(include, status.name)) ||
            matchesAny(exclude, status.name)) {
            continue;
        }
        const std::uint64_t size = (status.valid & ZIP_STAT_SIZE) != 0 ? status.size : 0;
        std::tm time{};
        const std::time_t mtime = (status.valid & ZIP_STAT_MTIME) != 0 ? status.mtime : 0;
        localtime_r(&mtime, &time);
        char fields[64];
        std::snprintf(fields, sizeof fields, "%9llu  %04d-%02d-%02d %02d:%02d   ",
                      static_cast<unsigned long long>(size), time.tm_year + 1900, time.tm_mon + 1,
                      time.tm_mday, time.tm_hour, time.tm_min);
        report.line(fields, status.name);
        total += size;
        ++listed;
    }
    char footer[96];
    std::snprintf(footer, sizeof footer, "%9llu                     %llu file%s",
                  static_cast<unsigned long long>(total), static_cast<unsigned long long>(listed),
                  listed == 1 ? "" : "s");
    report.line("---------                     -------");
    report.line(footer);
}

// Everything one extraction needs besides the member at hand.
struct Extraction {
    zip_t* archive;
    const ExtractionFolder& folder;
    std::string prefix;  // the folder's path as reported, with its separator
    bool prompt;
    bool overwrite;
    bool keepDirectories;
    const UnzipCallbacks& callbacks;
    const Report& report;
    std::uint64_t memberCap;
    std::vector<char> buffer = std::vector<char>(kCopyBuffer);
    bool replaceNone = false;  // the user answered "overwrite no file"
};

// Copies the member into `file`; an empty text on success, else what went wrong.
std::string copyMember(Extraction& x, zip_uint64_t index, PendingFile& file) {
    Member member(zip_fopen_index(x.archive, index, 0));
    if (!member) {
        return std::string("damaged (") + zip_strerror(x.archive) + ")";
    }
    std::uint64_t copied = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(member.get(), x.buffer.data(), x.buffer.size());
        if (got < 0) {
            return std::string("damaged (") + zip_file_strerror(member.get()) + ")";
        }
        if (got == 0) {
            return {};
        }
        copied += static_cast<std::uint64_t>(got);
        // The stored size may lie; what counts is what comes out.
        if (copied > x.memberCap) {
            return "larger than " + std::to_string(x.memberCap) + " bytes";
        }
        if (const int error = file.write(x.buffer.data(), static_cast<std::size_t>(got))) {
            return "cannot write (" + errorText(error) + ")";
        }
    }
}

// Whether a file may take the name of an existing one; asks when told to.
bool mayReplace(Extraction& x, const std::string& path) {
    if (x.overwrite) {
        return true;
    }
    if (!x.prompt || x.replaceNone || !x.callbacks.replace) {
        return false;
    }
    const int answer = x.callbacks.replace(path);
    if (answer == kReplaceNone) {
        x.replaceNone = true;
    }
    return answer == kReplaceYes;
}

void extractMember(Extraction& x, zip_uint64_t index, const char* stored) {
    const std::string_view name(stored);
    const Kind kind = memberKind(x.archive, index, name);
    if (kind == Kind::Link) {
        x.report.line(kSkipping, name, "  (symbolic link, not written)");
        return;
    }
    if (kind == Kind::Other) {
        x.report.line(kSkipping, name, "  (not a regular file)");
        return;
    }
    if (kind == Kind::Folder && !x.keepDirectories) {
        return;  // its files land in the extraction folder itself
    }
    // Members that will not be written are told apart before any folder is made for them.
    zip_stat_t status;
    zip_stat_init(&status);
    if (kind == Kind::File) {
        if (zip_stat_index(x.archive, index, 0, &status) != 0) {
            x.report.line(kError, name, "  damaged (", zip_strerror(x.archive), "), not written");
            return;
        }
        if ((status.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 &&
            status.encryption_method != ZIP_EM_NONE) {
            x.report.line(kSkipping, name, "  (encrypted, no password given)");
            return;
        }
        if ((status.valid & ZIP_STAT_SIZE) != 0 && status.size > x.memberCap) {
            x.report.line(kSkipping, name, "  (larger than ", std::to_string(x.memberCap),
                          " bytes)");
            return;
        }
    }
    const Placement place = placeMember(name, x.keepDirectories, kind == Kind::Folder);
    if (!place.problem.empty()) {
        x.report.line(kSkipping, name, "  (", place.problem, ")");
        return;
    }
    const std::string path = x.prefix + place.relativePath();
    UniqueFd parent;
    if (const int error = x.folder.subfolder(place.folders, parent)) {
        x.report.line(kError, path, "  (folder cannot be made: ", errorText(error), ")");
        return;
    }
    if (kind == Kind::Folder) {
        x.report.line(kCreating, path);  // the path ends with its separator
        return;
    }
    bool replace = false;
    if (ExtractionFolder::exists(parent.get(), place.name)) {
        replace = mayReplace(x, path);
        if (!replace) {
            x.report.line(kSkipping, path, "  (file exists, kept)");
            return;
        }
    }

    std::optional<PendingFile> file;
    if (const int error = PendingFile::create(parent.get(), file)) {
        x.report.line(kError, path, "  cannot be written (", errorText(error), ")");
        return;
    }
    if (const std::string problem = copyMember(x, index, *file); !problem.empty()) {
        x.report.line(kError, name, "  ", problem, ", not written");
        return;
    }
    if (const int error = file->commit(place.name, replace)) {
        if (error == EEXIST) {
            x.report.line(kSkipping, path, "  (file exists, kept)");
        } else {
            x.report.line(kError, path, "  cannot be written (", errorText(error), ")");
        }
        return;
    }
    const bool isStored =
        (status.valid & ZIP_STAT_COMP_METHOD) != 0 && status.comp_method == ZIP_CM_STORE;
    x.report.line(isStored ? kExtracting : kInflating, path, "  ");
}

}  // namespace

void unzipArchive(std::string_view archive, std::string_view directory, bool prompt, bool overwrite,
                  bool list, bool keepDirectories, const std::vector<std::string>& include,
                  const std::vector<std::string>& exclude, const UnzipCallbacks& callbacks,
                  std::uint64_t memberCap) {
    const Report report(callbacks.print);
    const std::string archivePath(archive);

    // Non-blocking, so that a pipe or a device given as the archive cannot hang the launch.
    UniqueFd fd(::open(archivePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        report.line(kError, "cannot open ", archivePath, " (", errorText(errno), ")");
        return;
    }
    struct stat fileStatus {};
    if (::fstat(fd.get(), &fileStatus) != 0 || !S_ISREG(fileStatus.st_mode)) {
        report.line(kError, archivePath, " is not a zip file");
        return;
    }
    int zipError = 0;
    Archive zip(zip_fdopen(fd.get(), 0, &zipError));
    if (!zip) {
        if (zipError == ZIP_ER_NOZIP) {
            report.line(kError, archivePath, " is not a zip file");
        } else {
            zip_error_t error;
            zip_error_init_with_code(&error, zipError);
            report.line(kError, archivePath, " is damaged or truncated (",
                        zip_error_strerror(&error), ")");
            zip_error_fini(&error);
        }
        return;
    }
    fd.release();  // the archive owns it now

    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count <= 0) {
        report.line("warning:  ", archivePath, " is empty");
        return;
    }
    if (list) {
        listMembers(zip.get(), count, include, exclude, report);
        return;
    }

    const std::string folderPath = directory.empty() ? std::string(".") : std::string(directory);
    std::optional<ExtractionFolder> folder;
    if (const int error = ExtractionFolder::open(folderPath, folder)) {
        report.line(kError, "cannot open the folder ", folderPath, " (", errorText(error), ")");
        return;
    }
    std::string prefix(directory);
    if (!prefix.empty() && prefix.back() != '/') {
        prefix += '/';
    }
    Extraction x{zip.get(), *folder, std::move(prefix), prompt, overwrite, keepDirectories,
                 callbacks, report,  memberCap};
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* name = zip_get_name(zip.get(), index, ZIP_FL_ENC_GUESS);
        if (name == nullptr) {
            report.line(kError, "member ", std::to_string(i), " has no readable name");
            continue;
        }
        if ((!include.empty() && !matchesAny(include, name)) || matchesAny(exclude, name)) {
            continue;
        }
        extractMember(x, index, name);
    }
}

}  // namespace velmor::launch
