#pragma once

#include <string>
#include <string_view>

#include "settings/Catalogue.h"
#include "settings/Holders.h"

namespace velmor::settings {

// The text that a save writes for `setting`, read from its holder.
std::string writtenText(const Setting& setting, const Holders& holders);

// Gives the holder the state that a stored `text` stands for. A number that is out of range
// for its holder never reaches it: check boxes and list selections keep their state, sliders
// are held at the nearest end of their range.
void applyText(const Setting& setting, std::string_view text, Holders& holders);

}  // namespace velmor::settings
