#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmor::platform {

// The interpreter prefix of a command line that is to run through the shell: the text after it
// goes to /bin/sh as one argument.
inline constexpr std::string_view kShellPrefix = "/bin/sh -c ";

// A program and its arguments exactly as they are to reach it, with no shell and no splitting,
// and the variables set in its environment besides the program's own.
struct Command {
    std::string program;
    std::vector<std::string> arguments;
    std::vector<std::pair<std::string, std::string>> environment;
};

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

    // The same three ways of starting, for a program given with its arguments. Here `handedOn`
    // is held for exactly as long as the program runs, but neither the program nor what it
    // starts gets it: Wine leaves its server and helper programs running after the program has
    // ended, and they would hold a lock for seconds more, or as long as another Windows program
    // runs.
    virtual bool executeAndWait(const Command& command) = 0;
    virtual bool startAndWait(const Command& command, int handedOn) = 0;
    virtual bool startDetached(const Command& command) = 0;
};

}  // namespace velmor::platform
