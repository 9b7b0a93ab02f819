#include "platform/linux/ProgramKind.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>

#include <filesystem>
#include <system_error>

#include "platform/UniqueFd.h"
#include "platform/linux/Files.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxShortNames.h"

namespace velmor::platform {
namespace {

// Where a DOS header keeps the offset of the Windows header that follows it.
constexpr off_t kHeaderOffsetAt = 0x3C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xAA64;

bool readAt(int fd, off_t at, unsigned char* into, std::size_t size) {
    return ::pread(fd, into, size, at) == static_cast<ssize_t>(size);
}

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

}  // namespace

ProgramKind programKind(const std::string& path) {
    // Not blocking, and only a regular file is read: a named pipe must not hold the launch up.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return ProgramKind::Other;
    }
    std::array<unsigned char, 4> start{};
    if (!readAt(fd.get(), 0, start.data(), 2)) {
        return ProgramKind::Other;
    }
    if (start[0] == '#' && start[1] == '!') {
        return ProgramKind::Native;
    }
    if (readAt(fd.get(), 0, start.data(), 4) && start[0] == 0x7F && start[1] == 'E' &&
        start[2] == 'L' && start[3] == 'F') {
        return ProgramKind::Native;
    }
    if (start[0] != 'M' || start[1] != 'Z') {
        return ProgramKind::Other;
    }
    std::array<unsigned char, 6> header{};  // "PE\0\0" and the machine
    if (!readAt(fd.get(), kHeaderOffsetAt, header.data(), 4)) {
        return ProgramKind::Dos;
    }
    const std::uint32_t at = littleEndian(header.data(), 4);
    if (at > static_cast<std::uint64_t>(info.st_size) ||
        !readAt(fd.get(), static_cast<off_t>(at), header.data(), header.size()) ||
        header[0] != 'P' || header[1] != 'E' || header[2] != 0 || header[3] != 0) {
        return ProgramKind::Dos;
    }
    const auto machine = static_cast<std::uint16_t>(littleEndian(header.data() + 4, 2));
    return machine == kMachineAmd64 || machine == kMachineArm64 ? ProgramKind::Windows64
                                                                : ProgramKind::Windows32;
}

ProgramToRun programToRun(const std::string& path, std::string_view program,
                          std::string_view pathsEntry, Wine& wine) {
    const ProgramKind kind = programKind(path);
    const std::string named = std::string(program) + " at " + path;
    if (kind == ProgramKind::Dos) {
        return {named +
                    " is a DOS program.  Velmor starts Linux programs, and Windows programs "
                    "through Wine, but not DOS programs.",
                false,
                {}};
    }
    if (!isWindows(kind)) {
        auto problem = programProblem(path, program, pathsEntry);
        return {problem.value_or(std::string()), false, path};
    }
    // Started by its real path, a Windows program finds its own files beside itself; by a link
    // it would look beside the link.
    std::error_code error;
    std::string real = std::filesystem::canonical(path, error).native();
    if (error) {
        real = path;
    }
    auto problem = wine.problem(named, kind == ProgramKind::Windows32);
    return {problem.value_or(std::string()), true, std::move(real)};
}

std::string wineProgramPath(ShortNames& shortNames, const std::string& realExe) {
    const std::filesystem::path exe(realExe);
    const std::string name = exe.filename().native();
    const std::string folder = shortNames.windowsPath(exe.parent_path().native());
    if (folder.empty() || !isPlainPath(name) || !isWindowsSafe(name)) {
        return {};
    }
    return folder + "\\" + name;
}

Command wineCommand(Wine& wine, ShortNames& shortNames, const ProgramToRun& program,
                    std::string_view switches, const std::string& file, bool minimised) {
    std::vector<std::string> arguments = splitCommandLine(switches);
    if (std::string path = shortNames.windowsPath(file); !path.empty()) {
        arguments.push_back(std::move(path));
    }
    const std::string exe = wineProgramPath(shortNames, program.exe);
    return minimised ? wine.minimisedCommand(exe, std::move(arguments))
                     : wine.command(exe, std::move(arguments));
}

}  // namespace velmor::platform
