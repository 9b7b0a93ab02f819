#include "launch/Unzip.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <zip.h>

#include <algorithm>
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
constexpr std::uint64_t kKeepFree = std::uint64_t{32} << 20;

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

// Bytes free for an ordinary user on the file system of the open file or folder `fd`, and the
// file system's size. Nothing when the system does not say.
struct Space {
    std::uint64_t available;
    std::uint64_t size;
};
std::optional<Space> spaceOf(int fd) {
    struct statvfs status {};
    if (::fstatvfs(fd, &status) != 0) {
        return std::nullopt;
    }
    return Space{std::uint64_t{status.f_bavail} * status.f_frsize,
                 std::uint64_t{status.f_blocks} * status.f_frsize};
}

// Everything one extraction needs besides the member at hand.
struct Extraction {
    zip_t* archive;
    const ExtractionFolder& folder;
    std::string prefix;  // the folder's path as reported, with its separator
    const UnzipOptions& options;
    const UnzipCallbacks& callbacks;
    const Report& report;
    std::uint64_t keepFree;
    std::vector<char> buffer = std::vector<char>(kCopyBuffer);
    std::uint64_t spent = 0;   // what the files written so far count against the total cap
    bool replaceNone = false;  // the user answered "overwrite no file"
    UnzipOutcome outcome = {};

    bool stopping() const {
        return options.stop != nullptr && options.stop->load(std::memory_order_relaxed);
    }
    // Reports a member that is not written; the first one is kept in the outcome.
    // `reason` says why for the user; the report line is the field, the name and the pieces.
    template <typename... Pieces>
    void refuse(UnzipRefusal why, std::string_view reason, std::string_view field,
                std::string_view name, const Pieces&... pieces) {
        report.line(field, name, pieces...);
        if (outcome.refusal == UnzipRefusal::None) {
            outcome.refusal = why;
            outcome.refusedMember = std::string(name);
            outcome.refusalText = std::string(reason);
        }
    }
};

std::string tooLarge(std::uint64_t cap) {
    return "larger than " + std::to_string(cap) + " bytes";
}

std::string overTotal(std::uint64_t cap) {
    return "the members together would exceed " + std::to_string(cap) + " bytes";
}

constexpr std::string_view kNoSpace = "too little free space left in the folder";

// What a member costs against the total cap.
std::uint64_t cost(std::uint64_t size) {
    return std::max(size, kUnzipFileCost);
}

struct CopyProblem {
    UnzipRefusal why = UnzipRefusal::None;
    std::string text;
};

// Copies the member into `file` in the folder `parent`; no problem on success.
CopyProblem copyMember(Extraction& x, zip_uint64_t index, int parent, PendingFile& file) {
    Member member(zip_fopen_index(x.archive, index, 0));
    if (!member) {
        return {UnzipRefusal::Unusable, std::string("damaged (") + zip_strerror(x.archive) + ")"};
    }
    std::uint64_t copied = 0;
    for (;;) {
        if (x.stopping()) {
            return {UnzipRefusal::Unusable, "stopped"};
        }
        const zip_int64_t got = zip_fread(member.get(), x.buffer.data(), x.buffer.size());
        if (got < 0) {
            return {UnzipRefusal::Unusable,
                    std::string("damaged (") + zip_file_strerror(member.get()) + ")"};
        }
        if (got == 0) {
            x.spent += cost(copied);
            return {};
        }
        copied += static_cast<std::uint64_t>(got);
        // The stored size may lie; what counts is what comes out.
        if (copied > x.options.memberCap) {
            return {UnzipRefusal::TooLarge, tooLarge(x.options.memberCap)};
        }
        if (x.spent + copied > x.options.totalCap) {
            return {UnzipRefusal::OverTotal, overTotal(x.options.totalCap)};
        }
        if (const auto space = spaceOf(parent);
            space && space->available < static_cast<std::uint64_t>(got) + x.keepFree) {
            return {UnzipRefusal::NoSpace, std::string(kNoSpace)};
        }
        if (const int error = file.write(x.buffer.data(), static_cast<std::size_t>(got))) {
            if (error == ENOSPC || error == EDQUOT || error == EFBIG) {
                return {UnzipRefusal::NoSpace,
                        std::string(kNoSpace) + " (" + errorText(error) + ")"};
            }
            return {UnzipRefusal::Unusable, "cannot write (" + errorText(error) + ")"};
        }
    }
}

bool mayReplace(Extraction& x, const std::string& path) {
    if (x.options.overwrite) {
        return true;
    }
    if (!x.options.prompt || x.replaceNone || !x.callbacks.replace) {
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
        x.refuse(UnzipRefusal::Unusable, "it is a symbolic link", kSkipping, name,
                 "  (symbolic link, not written)");
        return;
    }
    if (kind == Kind::Other) {
        x.refuse(UnzipRefusal::Unusable, "it is not a regular file", kSkipping, name,
                 "  (not a regular file)");
        return;
    }
    if (kind == Kind::Folder && !x.options.keepDirectories) {
        return;  // its files land in the extraction folder itself
    }
    // Members that will not be written are told apart before any folder is made for them.
    zip_stat_t status;
    zip_stat_init(&status);
    if (kind == Kind::File) {
        if (zip_stat_index(x.archive, index, 0, &status) != 0) {
            x.refuse(UnzipRefusal::Unusable, "it is damaged", kError, name, "  damaged (",
                     zip_strerror(x.archive), "), not written");
            return;
        }
        if ((status.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 &&
            status.encryption_method != ZIP_EM_NONE) {
            x.refuse(UnzipRefusal::Unusable, "it is encrypted", kSkipping, name,
                     "  (encrypted, no password given)");
            return;
        }
        const std::uint64_t size = (status.valid & ZIP_STAT_SIZE) != 0 ? status.size : 0;
        if (size > x.options.memberCap) {
            const std::string reason = tooLarge(x.options.memberCap);
            x.refuse(UnzipRefusal::TooLarge, reason, kSkipping, name, "  (", reason, ")");
            return;
        }
        if (x.spent + cost(size) > x.options.totalCap) {
            const std::string reason = overTotal(x.options.totalCap);
            x.refuse(UnzipRefusal::OverTotal, reason, kSkipping, name, "  (", reason, ")");
            return;
        }
        if (x.outcome.refusal == UnzipRefusal::NoSpace) {
            x.report.line(kSkipping, name, "  (", kNoSpace, ")");
            return;
        }
    }
    const Placement place = placeMember(name, x.options.keepDirectories, kind == Kind::Folder);
    if (!place.problem.empty()) {
        x.refuse(UnzipRefusal::Unusable, place.problem, kSkipping, name, "  (", place.problem, ")");
        return;
    }
    const std::string path = x.prefix + place.relativePath();
    UniqueFd parent;
    if (const int error = x.folder.subfolder(place.folders, parent)) {
        x.refuse(UnzipRefusal::Unusable, "its folder cannot be made", kError, path,
                 "  (folder cannot be made: ", errorText(error), ")");
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
        x.refuse(UnzipRefusal::Unusable, "it cannot be written", kError, path,
                 "  cannot be written (", errorText(error), ")");
        return;
    }
    if (const CopyProblem problem = copyMember(x, index, parent.get(), *file);
        problem.why != UnzipRefusal::None) {
        x.refuse(problem.why, problem.text, kError, name, "  ", problem.text, ", not written");
        return;
    }
    if (const int error = file->commit(place.name, replace)) {
        if (error == EEXIST) {
            x.report.line(kSkipping, path, "  (file exists, kept)");
        } else {
            x.refuse(UnzipRefusal::Unusable, "it cannot be written", kError, path,
                     "  cannot be written (", errorText(error), ")");
        }
        return;
    }
    ++x.outcome.written;
    const bool isStored =
        (status.valid & ZIP_STAT_COMP_METHOD) != 0 && status.comp_method == ZIP_CM_STORE;
    x.report.line(isStored ? kExtracting : kInflating, path, "  ");
}

}  // namespace

UnzipOutcome unzipArchive(std::string_view archive, std::string_view directory,
                          const UnzipOptions& options, const UnzipCallbacks& callbacks) {
    const Report report(callbacks.print);
    const std::string archivePath(archive);

    // Non-blocking, so that a pipe or a device given as the archive cannot hang the launch.
    UniqueFd fd(::open(archivePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        report.line(kError, "cannot open ", archivePath, " (", errorText(errno), ")");
        return {};
    }
    struct stat fileStatus {};
    if (::fstat(fd.get(), &fileStatus) != 0 || !S_ISREG(fileStatus.st_mode)) {
        report.line(kError, archivePath, " is not a zip file");
        return {};
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
        return {};
    }
    fd.release();  // the archive owns it now

    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count <= 0) {
        report.line("warning:  ", archivePath, " is empty");
        return {};
    }
    if (options.list) {
        listMembers(zip.get(), count, options.include, options.exclude, report);
        return {};
    }

    const std::string folderPath = directory.empty() ? std::string(".") : std::string(directory);
    std::optional<ExtractionFolder> folder;
    if (const int error = ExtractionFolder::open(folderPath, folder)) {
        report.line(kError, "cannot open the folder ", folderPath, " (", errorText(error), ")");
        return {};
    }
    std::string prefix(directory);
    if (!prefix.empty() && prefix.back() != '/') {
        prefix += '/';
    }
    std::uint64_t keepFree = kKeepFree;
    if (options.keepFree) {
        keepFree = *options.keepFree;
    } else if (const auto space = spaceOf(folder->fd())) {
        keepFree = std::min(kKeepFree, space->size / 20);
    }
    Extraction x{zip.get(), *folder, std::move(prefix), options, callbacks, report, keepFree};
    for (zip_int64_t i = 0; i < count; ++i) {
        if (x.stopping()) {
            x.outcome.stopped = true;
            break;
        }
        const auto index = static_cast<zip_uint64_t>(i);
        const char* name = zip_get_name(zip.get(), index, ZIP_FL_ENC_GUESS);
        if (name == nullptr) {
            report.line(kError, "member ", std::to_string(i), " has no readable name");
            continue;
        }
        if ((!options.include.empty() && !matchesAny(options.include, name)) ||
            matchesAny(options.exclude, name)) {
            continue;
        }
        extractMember(x, index, name);
    }
    x.outcome.stopped = x.stopping();
    return std::move(x.outcome);
}

}  // namespace velmor::launch
