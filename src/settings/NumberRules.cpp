#include "settings/NumberRules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmor::settings {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c, char upper) {
    return c == upper || c == upper - 'A' + 'a';
}

// The characters of a text with the skipped ones passed over; '\0' once it is used up.
class Reader {
  public:
    Reader(std::string_view text, std::string_view skipped) : text_(text), skipped_(skipped) {
        pass();
    }
    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    void next() {
        ++at_;
        pass();
    }

  private:
    void pass() {
        while (at_ < text_.size() && skipped_.find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
    }
    std::string_view text_;
    std::string_view skipped_;
    std::size_t at_ = 0;
};

double radixNumber(Reader& reader, int radix) {
    double value = 0.0;
    for (int digit = 0; (digit = digitValue(reader.peek(), radix)) >= 0; reader.next()) {
        value = value * radix + digit;
    }
    return value;
}

// Whether a decimal number (digits, point, "e" exponent) that no double holds lies beyond the
// largest double rather than below the smallest.
bool beyondLargest(std::string_view number) {
    const std::size_t e = std::min(number.find('e'), number.size());
    long long exponent = 0;
    if (e < number.size()) {
        std::string_view digits = number.substr(e + 1);
        if (digits.front() == '+') {
            digits.remove_prefix(1);
        }
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (error == std::errc::result_out_of_range) {
            return digits.front() != '-';
        }
    }
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return false;
    }
    const auto point = static_cast<long long>(std::min(mantissa.find('.'), mantissa.size()));
    const auto at = static_cast<long long>(first);
    const long long order = at < point ? point - at - 1 : point - at;
    constexpr long long kFar = 1LL << 40;  // beyond any double either way, and no overflow
    return order + std::clamp(exponent, -kFar, kFar) > 0;
}

}  // namespace

double leadingNumber(std::string_view text, const NumberSyntax& syntax) {
    Reader reader(text, syntax.skipped);
    if (syntax.radixPrefixes && reader.peek() == '&') {
        reader.next();
        if (isLetter(reader.peek(), 'H')) {
            reader.next();
            return radixNumber(reader, 16);
        }
        if (isLetter(reader.peek(), 'O')) {
            reader.next();
            return radixNumber(reader, 8);
        }
        return 0.0;
    }
    // Collect the number's characters without the skipped ones, then let the library convert
    // them: the conversion is exact to the nearest double, as a hand-rolled one would not be.
    std::string number;
    bool sawSign = false;
    bool sawPoint = false;
    bool sawDigit = false;
    for (char c = reader.peek(); c != '\0'; reader.next(), c = reader.peek()) {
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
    if (syntax.exponent && (isLetter(reader.peek(), 'E') || isLetter(reader.peek(), 'D'))) {
        // An exponent letter without digits after it is not part of the number.
        reader.next();
        std::string exponent = "e";
        if (reader.peek() == '+' || reader.peek() == '-') {
            exponent.push_back(reader.peek());
            reader.next();
        }
        for (; isDigit(reader.peek()); reader.next()) {
            exponent.push_back(reader.peek());
        }
        if (isDigit(exponent.back())) {
            number += exponent;
        }
    }
    double value = 0.0;
    const char* first = number.data();
    const char* last = first + number.size();
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow.
        const bool negative = number.front() == '-';
        if (!beyondLargest(negative ? std::string_view(number).substr(1) : number)) {
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
