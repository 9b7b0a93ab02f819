#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmor::settings {

// The value of `c` as a digit of `radix` (up to 16, letters in either case), or -1.
constexpr int digitValue(char c, int radix) {
    int value = radix;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < radix ? value : -1;
}

// What a leading-number reading accepts beyond an optional sign, digits and one decimal point.
struct NumberSyntax {
    std::string_view skipped;    // characters passed over wherever they stand
    bool exponent = false;       // an E or D exponent: 1.5E3, 2D-1
    bool radixPrefixes = false;  // &H hexadecimal and &O octal digits
};

// The stored settings: blanks, tabs and line ends skipped, plain decimal numbers only.
inline constexpr NumberSyntax kSettingNumbers{" \t\n\r", false, false};
// The song time boxes: blanks, tabs and line feeds skipped, exponents and &H/&O prefixes read.
inline constexpr NumberSyntax kTimerNumbers{" \t\n", true, true};

// The leading number of a text in `syntax`, the first other character ending it. A text without
// such a number is 0. A number too large for a double gives an infinity of its sign.
double leadingNumber(std::string_view text, const NumberSyntax& syntax);

// The leading decimal number of a stored setting's text (`kSettingNumbers`).
inline double numericValue(std::string_view text) {
    return leadingNumber(text, kSettingNumbers);
}

// `value` to the nearest integer, a half going to the even neighbour; nothing when the result
// does not fit 64 bits (or the value is not finite).
std::optional<std::int64_t> roundHalfEven(double value);

// The shortest decimal text that reads back as `value` ("7", "1.5", "1e+30"); "0" for a value
// that is not finite.
std::string shortestText(double value);

}  // namespace velmor::settings
