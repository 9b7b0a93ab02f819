#include "launch/EmulatorCommandLine.h"

#include <fstream>

#include "settings/Blanks.h"
#include "settings/Controls.h"
#include "settings/Holders.h"

namespace velmor::launch {
namespace {

using settings::isTicked;

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
        if (isTicked(boxState)) {
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

}  // namespace

EmulatorOptions readEmulatorOptions(const settings::Holders& holders) {
    using namespace controls;
    const auto box = [&](std::string_view name) { return holders.boxState(name); };
    const auto option = [&](std::string_view name) { return holders.optionSelected(name); };
    EmulatorOptions o;
    o.player1 = holders.listIndex(kP1input);
    o.player2 = holders.listIndex(kP2input);
    o.uninterleave = box(kCheck7);
    o.fpuCopy = box(kCheck8);
    o.mmxCopy = box(kCheck9);
    o.allExtensions = box(kCheck10);
    o.sound = box(kCheck1);
    o.stereo = box(kCheck2);
    o.buffering = box(kCheck14);
    o.noAdsrGain = box(kCheck11);
    o.eightBit = box(kCheck3);
    o.samplingRate = holders.listIndex(kCombo1);
    o.colors256 = option(kOption3);
    o.colors16Bit = option(kOption4);
    o.modeNormal = option(kOption5);
    o.modeVesa2 = option(kOption6);
    o.res256x256 = option(kOption7);
    o.res320x240 = option(kOption8);
    o.res640x480 = option(kOption11);
    o.res512x384 = option(kOption12);
    o.autoFrameSkip = box(kCheck12);
    o.vsync = box(kCheck13);
    o.interpolation = box(kCheck15);
    o.scanlines = box(kCheck16);
    o.scaleImage = box(kCheck17);
    o.centerImage = box(kCheck18);
    o.frameSkip = holders.sliderValue(kSlider3);
    o.gamma = holders.sliderValue(kSlider2);
    o.disableGui = box(kCheck4);
    o.debugger = box(kCheck6);
    o.skipDelay = box(kCheck5);
    o.romType = holders.listIndex(kCombo4);
    o.timing = holders.listIndex(kCombo3);
    o.cpuCycles = holders.sliderValue(kSlider1);
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
    if (isTicked(o.autoFrameSkip)) {
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
    const std::string_view path = settings::trimBlanks(zsnesLocation);
    const std::string_view name = path.substr(path.rfind('/') + 1);
    if (!name.empty() && (name.find('.') == std::string_view::npos || name.rfind('.') == 0)) {
        return std::string(settings::trimTrailingBlanks(zsnesLocation)) + ".cfg";
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
    text += settings::trimBlanks(shortSaveDirectory);
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
    file << emulatorConfigText(isTicked(newGfxState), shortSaveDirectory);
    file.close();
    return static_cast<bool>(file);
}

}  // namespace velmor::launch
