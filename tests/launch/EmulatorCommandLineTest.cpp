#include "launch/EmulatorCommandLine.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "support/Files.h"

namespace velmor::launch {
namespace {

TEST(EmulatorCommandLine, SwitchesFollowTheControlsInTheEmulatorsOrder) {
    EmulatorOptions o;  // the start-up state of the window
    EXPECT_EQ(emulatorCommandLine(o), " -1 1 -2 0 -r 0 -v 7 -f 0 -p 100");

    o.colors256 = o.modeVesa2 = o.res640x480 = true;
    o.autoFrameSkip = 1;
    o.frameSkip = 4;
    o.gamma = 3;
    o.cpuCycles = 120;
    EXPECT_EQ(emulatorCommandLine(o), " -1 1 -2 0 -r 0 -v 4 -a -g 3 -p 120");

    // Every box ticked, in the order the emulator is given them; 16-bit colour sends no gamma.
    using O = EmulatorOptions;
    const auto boxes = {&O::uninterleave, &O::fpuCopy,      &O::mmxCopy,       &O::allExtensions,
                        &O::sound,        &O::stereo,       &O::buffering,     &O::noAdsrGain,
                        &O::eightBit,     &O::vsync,        &O::interpolation, &O::scanlines,
                        &O::scaleImage,   &O::centerImage,  &O::disableGui,    &O::debugger,
                        &O::skipDelay,    &O::autoFrameSkip};
    EmulatorOptions all;
    for (int O::*box : boxes) {
        all.*box = 1;
    }
    all.autoFrameSkip = 0;  // else the frame skip is not sent
    all.player1 = 6;
    all.player2 = 5;
    all.samplingRate = 3;
    all.colors16Bit = all.modeVesa2 = all.res320x240 = true;
    all.frameSkip = 10;
    all.gamma = 5;
    all.romType = 2;
    all.timing = 2;
    all.cpuCycles = 50;
    EXPECT_EQ(emulatorCommandLine(all),
              " -1 6 -2 5 -i -o -om -sa -s -z -q -x -8 -r 3 -v 3 -f 10 -w -y -n -c -cc -m -d -e"
              " -h -u -p 50");

    // Grayed boxes and typed (unlisted) list entries send nothing; LO and NTSC their switches.
    EmulatorOptions odd = all;
    for (int O::*box : boxes) {
        odd.*box = 2;
    }
    odd.player1 = -1;
    odd.player2 = 7;
    odd.samplingRate = 4;
    odd.romType = 1;
    odd.timing = 1;
    EXPECT_EQ(emulatorCommandLine(odd), " -v 3 -f 10 -l -t -p 50");
}

TEST(EmulatorCommandLine, VideoModeNumbersAndTheCombinationsThatGiveSeven) {
    struct Case {
        bool c256, c16, normal, vesa, r256, r320, r640, r512;
        int number;
    };
    for (const Case& c : {Case{1, 0, 1, 0, 1, 0, 0, 0, 1}, Case{1, 0, 1, 0, 0, 1, 0, 0, 0},
                          Case{1, 0, 0, 1, 0, 1, 0, 0, 2}, Case{1, 0, 0, 1, 0, 0, 1, 0, 4},
                          Case{1, 0, 0, 1, 0, 0, 0, 1, 6}, Case{0, 1, 0, 1, 0, 1, 0, 0, 3},
                          Case{0, 1, 0, 1, 0, 0, 1, 0, 5}, Case{0, 1, 0, 1, 0, 0, 0, 1, 7},
                          Case{1, 0, 0, 1, 1, 0, 0, 0, 7}, Case{1, 0, 1, 0, 0, 0, 1, 0, 7},
                          Case{0, 1, 1, 0, 0, 1, 0, 0, 7}, Case{0, 0, 0, 1, 0, 1, 0, 0, 7},
                          Case{1, 0, 0, 0, 0, 1, 0, 0, 7}, Case{1, 0, 0, 1, 0, 0, 0, 0, 7}}) {
        EmulatorOptions o;
        o.colors256 = c.c256;
        o.colors16Bit = c.c16;
        o.modeNormal = c.normal;
        o.modeVesa2 = c.vesa;
        o.res256x256 = c.r256;
        o.res320x240 = c.r320;
        o.res640x480 = c.r640;
        o.res512x384 = c.r512;
        EXPECT_EQ(videoModeNumber(o), c.number)
            << c.c256 << c.c16 << c.normal << c.vesa << c.r256 << c.r320 << c.r640 << c.r512;
    }
}

TEST(EmulatorConfig, BesideTheEmulatorAndReplacedByExactlyTwoLines) {
    EXPECT_EQ(emulatorConfigPath("D:\\EMU\\ZSNES.EXE"), "D:\\EMU\\ZSNES.cfg");
    EXPECT_EQ(emulatorConfigPath("/opt/zsnes/zsnes.exe  "), "/opt/zsnes/zsnes.cfg");
    EXPECT_EQ(emulatorConfigPath("/usr/games/zsnes "), "/usr/games/zsnes.cfg");
    EXPECT_EQ(emulatorConfigPath("/opt/v1.5/zsnes"), "/opt/v1.5/zsnes.cfg");
    EXPECT_EQ(emulatorConfigPath("/opt/.zsnes"), "/opt/.zsnes.cfg");
    EXPECT_EQ(emulatorConfigPath("z.exe"), "z.cfg");
    EXPECT_EQ(emulatorConfigPath("a.b"), std::nullopt);  // no name left to give the file
    EXPECT_EQ(emulatorConfigPath("  "), std::nullopt);

    QTemporaryDir dir;
    const std::string emulator = dir.filePath("zsnesw.exe").toStdString();
    const std::string config = dir.filePath("zsnesw.cfg").toStdString();
    std::ofstream(config) << std::string(5000, 'x');
    ASSERT_TRUE(writeEmulatorConfig(emulator, 1, " /home/ann/saves "));
    EXPECT_EQ(test::readFile(config), "NewGfx = 1\r\nSaveDirectory = /home/ann/saves\r\n");
    EXPECT_EQ(emulatorConfigText(false, ""), "NewGfx = 0\r\nSaveDirectory = \r\n");
    EXPECT_FALSE(writeEmulatorConfig(dir.filePath("missing/zsnes.exe").toStdString(), 0, ""));
}

}  // namespace
}  // namespace velmor::launch
