#pragma once

#include <string>

namespace velmor::test {

// The pitch of the tone in the made file: a 16-sample square wave played at half speed by a
// DSP that runs at 32000 Hz.
inline constexpr double kToneHz = 1000.0;

// A small SPC file of our own: a saved sound-processor state whose program keys voice 0 on
// through the DSP ports, playing a looping BRR square wave of kToneHz. An empty title and zero
// seconds leave those ID666 fields blank.
std::string makeSpc(const std::string& title, int seconds);

}  // namespace velmor::test
