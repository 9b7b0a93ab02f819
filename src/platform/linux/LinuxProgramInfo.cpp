#include "platform/linux/LinuxProgramInfo.h"

#include <filesystem>
#include <system_error>

namespace velmor::platform {

LinuxProgramInfo::LinuxProgramInfo(std::vector<std::string> arguments)
    : arguments_(std::move(arguments)) {}

std::string LinuxProgramInfo::folder() const {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::filesystem::current_path(error).string();
    }
    return executable.parent_path().string();
}

std::string LinuxProgramInfo::commandLine() const {
    std::string line;
    for (const std::string& argument : arguments_) {
        if (!line.empty()) {
            line += ' ';
        }
        line += argument;
    }
    return line;
}

}  // namespace velmor::platform
