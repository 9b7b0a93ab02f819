#pragma once

#include <string>
#include <vector>

namespace velmor::test {

// Names for the ROM, the emulator's and the save folders of the real launches: each holds what
// a shell, a blank split or a Windows program would misread. "deep one" lies deep below folders
// of hostile names of their own.
std::vector<std::string> hostileNames();

}  // namespace velmor::test
