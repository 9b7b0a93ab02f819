#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmor::settings {

// The leading decimal number of a text: an optional sign, digits, an optional decimal point and
// fraction, blanks inside skipped, the first other character ending it. A text without such a
// number is 0. A number too large for a double gives an infinity of its sign.
double numericValue(std::string_view text);

// `value` to the nearest integer, a half going to the even neighbour; nothing when the result
// does not fit 64 bits (or the value is not finite).
std::optional<std::int64_t> roundHalfEven(double value);

// The shortest decimal text that reads back as `value` ("7", "1.5", "1e+30"); "0" for a value
// that is not finite.
std::string shortestText(double value);

}  // namespace velmor::settings
