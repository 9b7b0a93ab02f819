#pragma once

#include <string>
#include <string_view>

namespace velmor::launch {

// The path of the ROM image that the extraction report `messageText` names. A one-member
// archive is reported as one line: 13 characters of action field, the written path, and three
// characters after it. Any other report gives a path that names no file; a report of 16
// characters or fewer gives an empty path.
std::string extractedRomPath(std::string_view messageText);

}  // namespace velmor::launch
