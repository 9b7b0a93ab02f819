#pragma once

#include "platform/Events.h"
#include "platform/FileDialogs.h"
#include "platform/FileTypes.h"
#include "platform/Messages.h"
#include "platform/PlayerWindow.h"
#include "platform/Processes.h"
#include "platform/ProgramInfo.h"
#include "platform/Registry.h"
#include "platform/ScreenSaver.h"
#include "platform/ShortNames.h"
#include "platform/Timers.h"
#include "platform/Wine.h"

namespace velmor::platform {

// Every outside service the windows use, handed in once at start-up. The services are owned
// by whoever builds this (main() for the real system, a test for the fakes).
struct Platform {
    Registry& registry;
    Events& events;
    Timers& timers;
    PlayerWindow& playerWindow;
    Messages& messages;
    ProgramInfo& program;
    Processes& processes;
    ShortNames& shortNames;
    ScreenSaver& screenSaver;
    FileDialogs& fileDialogs;
    FileTypes& fileTypes;
    Wine& wine;
};

}  // namespace velmor::platform
