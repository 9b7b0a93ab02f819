#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "settings/Catalogue.h"
#include "settings/Holders.h"
#include "settings/SettingsStore.h"

namespace velmor::settings {

// Writes every setting of the catalogue from its holder, in the catalogue's order, as one
// atomic unit: all of them are stored, or (false) none.
bool saveGUISettings(SettingsStore& store, const Holders& holders);

// One load of start-up: the setting, and the progress position shown before it (with pending
// events let through), or kNoProgress.
struct LoadStep {
    std::size_t setting;
    int progress;
};
inline constexpr int kNoProgress = -1;

// The order in which start-up loads the settings; it differs from the save order.
// clang-format off
inline constexpr std::array<LoadStep, 41> kLoadOrder{{
    {settingIndex("Last Game"), 10},
    {settingIndex("ZSNES Location"), 15},
    {settingIndex("Rom Location"), 20},
    {settingIndex("SPCPlay Loc"), 25},
    {settingIndex("Save Location"), 30},
    {settingIndex("SShots Location"), 35},
    {settingIndex("Sound Enabled"), 40},
    {settingIndex("Sound Stereo"), 45},
    {settingIndex("Sound Buffering"), 50},
    {settingIndex("Sound ADSR"), 55},
    {settingIndex("Sound 8-bit"), 60},
    {settingIndex("Sound Rate"), 65},
    {settingIndex("# of Colors"), 70},
    {settingIndex("Video Mode"), 75},
    {settingIndex("Resolution"), 80},
    {settingIndex("Auto Frame Skip"), 85},
    {settingIndex("VSync"), 90},
    {settingIndex("Interpolation"), 95},
    {settingIndex("Scanlines"), 100},
    {settingIndex("Scale Image"), 105},
    {settingIndex("Center Image"), 110},
    {settingIndex("New Gfx"), 115},
    {settingIndex("Frame Skip"), 120},
    {settingIndex("Gamma Correction"), 125},
    {settingIndex("Uninterleave ROM"), 130},
    {settingIndex("FPU Copy"), 135},
    {settingIndex("MMX Copy"), 140},
    {settingIndex("ALL Extensions"), 145},
    {settingIndex("CPU Cycles"), 150},
    {settingIndex("Disable GUI"), 155},
    {settingIndex("Skip Delay"), 160},
    {settingIndex("Debugger"), 165},
    {settingIndex("ROM Settings"), 170},
    {settingIndex("Timing"), 175},
    {settingIndex("SPC Timer Minutes"), 180},
    {settingIndex("SPC Timer Seconds"), kNoProgress},
    {settingIndex("ScreenSaver"), kNoProgress},
    {settingIndex("AutoTab"), kNoProgress},
    {settingIndex("CloseSPC"), kNoProgress},
    {settingIndex("Player 1 Input"), 185},
    {settingIndex("Player 2 Input"), 190},
}};
// clang-format on

// Loads every setting in start-up order, the root key having been opened. Before each step
// that has a progress position, `progress` is called with it; a key is opened where the next
// setting needs it.
void loadSettings(SettingsStore& store, Holders& holders, const std::function<void(int)>& progress);

}  // namespace velmor::settings
