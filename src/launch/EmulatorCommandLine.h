#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmor::settings {
class Holders;
}

namespace velmor::launch {

// The option controls of the main window as the emulator's switches need them. Check boxes hold
// their state (0 clear, 1 ticked, 2 grayed: only 1 counts), lists their selected index (-1 when
// text was typed in), option buttons whether they are selected.
struct EmulatorOptions {
    int player1 = 1;           // P1input
    int player2 = 0;           // P2input
    int uninterleave = 0;      // Check7
    int fpuCopy = 0;           // Check8
    int mmxCopy = 0;           // Check9
    int allExtensions = 0;     // Check10
    int sound = 0;             // Check1
    int stereo = 0;            // Check2
    int buffering = 0;         // Check14
    int noAdsrGain = 0;        // Check11
    int eightBit = 0;          // Check3
    int samplingRate = 0;      // Combo1
    bool colors256 = false;    // Option3
    bool colors16Bit = false;  // Option4
    bool modeNormal = false;   // Option5
    bool modeVesa2 = false;    // Option6
    bool res256x256 = false;   // Option7
    bool res320x240 = false;   // Option8
    bool res640x480 = false;   // Option11
    bool res512x384 = false;   // Option12
    int autoFrameSkip = 0;     // Check12
    int vsync = 0;             // Check13
    int interpolation = 0;     // Check15
    int scanlines = 0;         // Check16
    int scaleImage = 0;        // Check17
    int centerImage = 0;       // Check18
    int frameSkip = 0;         // Slider3
    int gamma = 0;             // Slider2
    int disableGui = 0;        // Check4
    int debugger = 0;          // Check6
    int skipDelay = 0;         // Check5
    int romType = 0;           // Combo4
    int timing = 0;            // Combo3
    int cpuCycles = 100;       // Slider1
};

// The controls' state as it stands.
EmulatorOptions readEmulatorOptions(const settings::Holders& holders);

// The emulator's switch text: every switch with one leading blank, in the emulator's fixed
// order; never empty.
std::string emulatorCommandLine(const EmulatorOptions& options);

// The emulator's number for the chosen colour depth, video mode and resolution; 7 for any
// combination it does not know, a group without a selection included.
int videoModeNumber(const EmulatorOptions& options);

// The configuration file beside the emulator: the emulator's path without its last three
// characters (counted on the path with its outer blanks removed), then "cfg"; for a program
// name without an extension, the path and ".cfg". Nothing when the path is too short to give a
// name.
std::optional<std::string> emulatorConfigPath(std::string_view zsnesLocation);

// The two lines of the configuration file, each ended by CR LF. `shortSaveDirectory` is the
// short form of the save folder (empty when it does not exist).
std::string emulatorConfigText(bool newGfx, std::string_view shortSaveDirectory);

// Creates or replaces the configuration file with its two lines. False when no file name can be
// formed or the file cannot be written.
bool writeEmulatorConfig(std::string_view zsnesLocation, int newGfxState,
                         std::string_view shortSaveDirectory);

}  // namespace velmor::launch
