#include "support/SpcMaker.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace velmor::test {

namespace {

constexpr std::size_t kRam = 0x100;
constexpr std::size_t kDsp = 0x10100;
constexpr std::uint16_t kProgram = 0x0400;
constexpr std::uint8_t kDirectoryPage = 0x02;  // sample directory at 0x0200
constexpr std::uint16_t kSample = 0x0300;

// DSP register values the program writes, in order; key-on (0x4C) last.
constexpr std::pair<std::uint8_t, std::uint8_t> kDspWrites[] = {
    {0x6C, 0x20},                          // FLG: no reset, not muted, echo writes off
    {0x5C, 0x00},                          // KOFF
    {0x0C, 0x7F},           {0x1C, 0x7F},  // main volume
    {0x2C, 0x00},           {0x3C, 0x00},  // echo volume
    {0x4D, 0x00},           {0x3D, 0x00}, {0x2D, 0x00},  // EON, NON, PMON
    {0x5D, kDirectoryPage},                              // DIR
    {0x00, 0x7F},           {0x01, 0x7F},                // voice 0 volume
    {0x02, 0x00},           {0x03, 0x08},                // voice 0 pitch 0x0800: half speed
    {0x04, 0x00},                                        // voice 0 source 0
    {0x05, 0x8F},           {0x06, 0xE0},  // ADSR: fastest attack, full sustain, no release
    {0x4C, 0x01},                          // KON voice 0
};

void putText(std::vector<std::uint8_t>& file, std::size_t at, const std::string& text,
             std::size_t field) {
    std::copy_n(text.begin(), std::min(text.size(), field), file.begin() + static_cast<long>(at));
}

}  // namespace

std::string makeSpc(const std::string& title, int seconds) {
    std::vector<std::uint8_t> file(0x10200, 0);
    putText(file, 0, "SNES-SPC700 Sound File Data v0.30", 33);
    file[0x21] = 26;
    file[0x22] = 26;
    file[0x23] = 26;  // has an ID666 tag
    file[0x24] = 30;
    file[0x25] = kProgram & 0xFF;
    file[0x26] = kProgram >> 8;
    file[0x2A] = 0x02;  // PSW
    file[0x2B] = 0xEF;  // SP
    putText(file, 0x2E, title, 32);
    putText(file, 0x9E, "01/02/2024", 11);
    if (seconds > 0) {
        char text[4];
        std::snprintf(text, sizeof text, "%03d", seconds % 1000);
        putText(file, 0xA9, text, 3);
        putText(file, 0xAC, "00000", 5);
    }

    std::uint8_t* ram = file.data() + kRam;
    ram[0xF0] = 0x0A;  // TEST as after reset
    ram[0xF1] = 0x00;  // CONTROL: timers off, boot ROM hidden
    // Sample directory entry 0: start and loop point of the one BRR block.
    std::uint8_t* entry = ram + kDirectoryPage * 0x100;
    entry[0] = entry[2] = kSample & 0xFF;
    entry[1] = entry[3] = kSample >> 8;
    // One BRR block that loops on itself: shift 11, no filter, 8 samples of +7, 8 of -7.
    const std::uint8_t block[9] = {0xB3, 0x77, 0x77, 0x77, 0x77, 0x99, 0x99, 0x99, 0x99};
    std::memcpy(ram + kSample, block, sizeof block);
    // The program: for each write "MOV $F2,#reg; MOV $F3,#value", then "BRA $" forever.
    std::size_t pc = kProgram;
    for (const auto& [reg, value] : kDspWrites) {
        for (const std::uint8_t byte : {0x8F, int{reg}, 0xF2, 0x8F, int{value}, 0xF3}) {
            ram[pc++] = byte;
        }
    }
    ram[pc++] = 0x2F;
    ram[pc++] = 0xFE;
    // The saved DSP registers: everything but the key-on, which only the program gives.
    for (const auto& [reg, value] : kDspWrites) {
        file[kDsp + reg] = reg == 0x4C ? 0 : value;
    }
    return {file.begin(), file.end()};
}

}  // namespace velmor::test
