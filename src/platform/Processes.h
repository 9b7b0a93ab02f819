#pragma once

#include <string_view>

namespace velmor::platform {

// The interpreter prefix of a command line that is to run through the shell: the text after it
// goes to /bin/sh as one argument.
inline constexpr std::string_view kShellPrefix = "/bin/sh -c ";

// Starting other programs. A command line is one text split at runs of blanks, without quote
// processing; its first word is the program.
class Processes {
  public:
    virtual ~Processes() = default;
    // Runs the program at raised priority where the system allows it and returns when it has
    // ended. Meanwhile the windows take no input but keep repainting and answering the window
    // manager. False, at once, when the program cannot be started.
    virtual bool executeAndWait(std::string_view commandLine) = 0;
    // Runs a command line that begins with `kShellPrefix` and returns when it has ended; the
    // windows stay fully usable meanwhile. False when it cannot be started. The descriptor
    // `handedOn` (unless -1) is left open in the program, so that what it holds (a lock) lasts as
    // long as the program does, even past this one; no other program started gets it.
    virtual bool startShellAndWait(std::string_view commandLine, int handedOn) = 0;
    // Starts the program and forgets it. False when it cannot be started.
    virtual bool startDetached(std::string_view commandLine) = 0;
};

}  // namespace velmor::platform
