#include "settings/NumberRules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmor::settings {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double numericValue(std::string_view text) {
    // Collect the number's characters without its blanks, then let the library convert them:
    // the conversion is exact to the nearest double, as a hand-rolled one would not be.
    std::string number;
    bool sawSign = false;
    bool sawPoint = false;
    bool sawDigit = false;
    for (char c : text) {
        if (isBlank(c)) {
            continue;
        }
        if ((c == '+' || c == '-') && !sawSign && !sawDigit && !sawPoint) {
            sawSign = true;
            if (c == '-') {
                number.push_back(c);
            }
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
            number.push_back(c);
        } else if (isDigit(c)) {
            sawDigit = true;
            number.push_back(c);
        } else {
            break;
        }
    }
    if (!sawDigit) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = number.data();
    const char* last = first + number.size();
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; tell them apart by the
        // digits before the point.
        const bool negative = number.front() == '-';
        const bool tiny = number.find_first_not_of("-0.") == std::string::npos ||
                          number.find_first_of("123456789") > number.find('.');
        if (tiny) {
            return negative ? -0.0 : 0.0;
        }
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return value;
}

std::optional<std::int64_t> roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // nearbyint rounds in the default mode, which is to nearest with ties to even.
    const double rounded = std::nearbyint(value);
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (rounded >= kLimit || rounded < -kLimit) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(rounded);
}

std::string shortestText(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value == 0.0) {
        return "0";  // no "-0"
    }
    std::array<char, 64> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc{}) {
        return "0";
    }
    return std::string(buffer.data(), end);
}

}  // namespace velmor::settings
