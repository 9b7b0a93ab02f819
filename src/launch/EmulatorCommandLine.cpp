#include "launch/EmulatorCommandLine.h"

#include <fstream>

#include "settings/Holders.h"

namespace velmor::launch {
namespace {

constexpr int kTicked = 1;

class Switches {
  public:
    void add(std::string_view text) {
        text_ += ' ';
        text_ += text;
    }
    void add(std::string_view text, int number) {
        add(text);
        text_ += ' ';
        text_ += std::to_string(number);
    }
    void addIf(int boxState, std::string_view text) {
        if (boxState == kTicked) {
            add(text);
        }
    }
    void addIndex(std::string_view text, int index, int count) {
        if (index >= 0 && index < count) {
            add(text, index);
        }
    }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

EmulatorOptions readEmulatorOptions(const settings::Holders& holders) {
    const auto box = [&](std::string_view name) { return holders.boxState(name); };
    const auto option = [&](std::string_view name) { return holders.optionSelected(name); };
    EmulatorOptions o;
    o.player1 = holders.listIndex("P1input");
    o.player2 = holders.listIndex("P2input");
    o.uninterleave = box("Check7");
    o.fpuCopy = box("Check8");
    o.mmxCopy = box("Check9");
    o.allExtensions = box("Check10");
    o.sound = box("Check1");
    o.stereo = box("Check2");
    o.buffering = box("Check14");
    o.noAdsrGain = box("Check11");
    o.eightBit = box("Check3");
    o.samplingRate = holders.listIndex("Combo1");
    o.colors256 = option("Option3");
    o.colors16Bit = option("Option4");
    o.modeNormal = option("Option5");
    o.modeVesa2 = option("Option6");
    o.res256x256 = option("Option7");
    o.res320x240 = option("Option8");
    o.res640x480 = option("Option11");
    o.res512x384 = option("Option12");
    o.autoFrameSkip = box("Check12");
    o.vsync = box("Check13");
    o.interpolation = box("Check15");
    o.scanlines = box("Check16");
    o.scaleImage = box("Check17");
    o.centerImage = box("Check18");
    o.frameSkip = holders.sliderValue("Slider3");
    o.gamma = holders.sliderValue("Slider2");
    o.disableGui = box("Check4");
    o.debugger = box("Check6");
    o.skipDelay = box("Check5");
    o.romType = holders.listIndex("Combo4");
    o.timing = holders.listIndex("Combo3");
    o.cpuCycles = holders.sliderValue("Slider1");
    return o;
}

std::string emulatorCommandLine(const EmulatorOptions& o) {
    constexpr int kControllers = 7;
    constexpr int kSamplingRates = 4;
    Switches s;
    s.addIndex("-1", o.player1, kControllers);
    s.addIndex("-2", o.player2, kControllers);
    s.addIf(o.uninterleave, "-i");
    s.addIf(o.fpuCopy, "-o");
    s.addIf(o.mmxCopy, "-om");
    s.addIf(o.allExtensions, "-sa");
    s.addIf(o.sound, "-s");
    s.addIf(o.stereo, "-z");
    s.addIf(o.buffering, "-q");
    s.addIf(o.noAdsrGain, "-x");
    s.addIf(o.eightBit, "-8");
    s.addIndex("-r", o.samplingRate, kSamplingRates);
    s.add("-v", videoModeNumber(o));
    if (o.autoFrameSkip == kTicked) {
        s.add("-a");
    } else {
        s.add("-f", o.frameSkip);
    }
    s.addIf(o.vsync, "-w");
    s.addIf(o.interpolation, "-y");
    s.addIf(o.scanlines, "-n");
    s.addIf(o.scaleImage, "-c");
    s.addIf(o.centerImage, "-cc");
    if (o.colors256) {
        s.add("-g", o.gamma);
    }
    s.addIf(o.disableGui, "-m");
    s.addIf(o.debugger, "-d");
    s.addIf(o.skipDelay, "-e");
    if (o.romType == 1 || o.romType == 2) {
        s.add(o.romType == 1 ? "-l" : "-h");
    }
    if (o.timing == 1 || o.timing == 2) {
        s.add(o.timing == 1 ? "-t" : "-u");
    }
    s.add("-p", o.cpuCycles);
    return s.take();
}

int videoModeNumber(const EmulatorOptions& o) {
    if (o.colors256 && o.modeNormal && o.res256x256)
        return 1;
    if (o.colors256 && o.modeNormal && o.res320x240)
        return 0;
    if (o.colors256 && o.modeVesa2 && o.res320x240)
        return 2;
    if (o.colors256 && o.modeVesa2 && o.res640x480)
        return 4;
    if (o.colors256 && o.modeVesa2 && o.res512x384)
        return 6;
    if (o.colors16Bit && o.modeVesa2 && o.res320x240)
        return 3;
    if (o.colors16Bit && o.modeVesa2 && o.res640x480)
        return 5;
    return 7;
}

std::optional<std::string> emulatorConfigPath(std::string_view zsnesLocation) {
    // A Linux program usually has no extension to replace: "zsnes" gives "zsnes.cfg", not "zscfg".
    const std::string_view path = trimmed(zsnesLocation);
    const std::string_view name = path.substr(path.rfind('/') + 1);
    if (!name.empty() && (name.find('.') == std::string_view::npos || name.rfind('.') == 0)) {
        return std::string(zsnesLocation.substr(0, zsnesLocation.find_last_not_of(' ') + 1)) +
               ".cfg";
    }
    const std::size_t length = path.size();
    if (length < 3 || length - 3 == 0) {
        return std::nullopt;
    }
    return std::string(zsnesLocation.substr(0, length - 3)) + "cfg";
}

std::string emulatorConfigText(bool newGfx, std::string_view shortSaveDirectory) {
    std::string text = newGfx ? "NewGfx = 1\r\n" : "NewGfx = 0\r\n";
    text += "SaveDirectory = ";
    text += trimmed(shortSaveDirectory);
    text += "\r\n";
    return text;
}

bool writeEmulatorConfig(std::string_view zsnesLocation, int newGfxState,
                         std::string_view shortSaveDirectory) {
    const auto path = emulatorConfigPath(zsnesLocation);
    if (!path) {
        return false;
    }
    std::ofstream file(*path, std::ios::binary | std::ios::trunc);
    file << emulatorConfigText(newGfxState == kTicked, shortSaveDirectory);
    file.close();
    return static_cast<bool>(file);
}

}  // namespace velmor::launch
