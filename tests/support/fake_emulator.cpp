// A stand-in for the emulator that records how it was started: one line per word it received
// (the program's own name first), each as hex bytes followed by a tab and the hex bytes of the
// first 64 bytes of the file the word names (or "-" when it names no readable file), then a line
// "cwd <hex>". The log is the file named by FAKE_EMULATOR_LOG; FAKE_EMULATOR_SLEEP_MS makes it run
// that long.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

std::string hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const char* logName = std::getenv("FAKE_EMULATOR_LOG");
    if (logName == nullptr) {
        return 2;
    }
    std::ofstream log(logName, std::ios::binary | std::ios::app);
    for (int i = 0; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        std::string content(64, '\0');
        file.read(content.data(), std::ssize(content));
        content.resize(static_cast<std::size_t>(file.gcount()));
        log << hex(argv[i]) << '\t' << (file.is_open() && !file.bad() ? hex(content) : "-") << '\n';
    }
    char cwd[4096] = {};
    log << "cwd " << hex(getcwd(cwd, sizeof cwd) != nullptr ? cwd : "") << '\n';
    log.close();
    if (const char* sleep = std::getenv("FAKE_EMULATOR_SLEEP_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(sleep)));
    }
    return 0;
}
