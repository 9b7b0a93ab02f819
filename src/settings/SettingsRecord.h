#pragma once

#include <string>
#include <string_view>

#include "settings/Catalogue.h"

namespace velmor::settings {

// The settings that have no control of their own: the five paths and the three preference
// flags. The paths are kept as the bytes the store holds, so a name that is not valid UTF-8
// still reaches the outside programs unchanged.
struct SettingsRecord {
    std::string zsnesPath;
    std::string romPath;
    std::string spcPlayPath;
    std::string savePath;
    std::string shotsPath;
    bool screenSaver = false;
    bool autoTab = false;
    bool closeSpc = false;

    // The variable behind a holder name, or null when the holder is a control.
    std::string* text(std::string_view holder) {
        if (holder == record::kZsnesPath)
            return &zsnesPath;
        if (holder == record::kRomPath)
            return &romPath;
        if (holder == record::kSpcPlayPath)
            return &spcPlayPath;
        if (holder == record::kSavePath)
            return &savePath;
        if (holder == record::kShotsPath)
            return &shotsPath;
        return nullptr;
    }
    bool* flag(std::string_view holder) {
        if (holder == record::kScreenSaver)
            return &screenSaver;
        if (holder == record::kAutoTab)
            return &autoTab;
        if (holder == record::kCloseSpc)
            return &closeSpc;
        return nullptr;
    }
};

}  // namespace velmor::settings
