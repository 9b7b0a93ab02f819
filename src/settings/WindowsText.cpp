#include "settings/WindowsText.h"

#include <array>

namespace velmor::settings {
namespace {

// Code page 1252 from 0x80 to 0x9F; its five unassigned bytes stand for the control characters
// of the same number, as Windows reads them.
constexpr std::array<char16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string fromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80) {
            out += byte;
        } else {
            appendUtf8(out, b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void Utf16Units::add(char16_t unit) {
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high_ != 0 && low) {
        appendUtf8(out_, 0x10000 + ((char32_t{high_} - 0xD800) << 10) + (unit - 0xDC00));
        high_ = 0;
        return;
    }
    finish();
    if (high) {
        high_ = unit;
    } else {
        appendUtf8(out_, low ? 0xFFFD : unit);
    }
}

void Utf16Units::finish() {
    if (high_ != 0) {
        appendUtf8(out_, 0xFFFD);
        high_ = 0;
    }
}

std::string fromUtf16le(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    Utf16Units units(out);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.add(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    units.finish();
    return out;
}

}  // namespace velmor::settings
