#include "support/EmulatorRuns.h"

#include <sstream>

#include "support/Files.h"

namespace velmor::test {
namespace {

std::string unhex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return out;
}

}  // namespace

std::vector<EmulatorRun> readRuns(const std::filesystem::path& log) {
    std::vector<EmulatorRun> runs(1);
    std::istringstream in(readFile(log));
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("cwd ")) {  // the line that ends a start
            runs.back().folder = unhex(line.substr(4));
            runs.emplace_back();
            continue;
        }
        const auto tab = line.find('\t');
        runs.back().words.push_back(unhex(line.substr(0, tab)));
        const std::string content = line.substr(tab + 1);
        runs.back().contents.push_back(content == "-" ? content : unhex(content));
    }
    runs.pop_back();
    return runs;
}

}  // namespace velmor::test
