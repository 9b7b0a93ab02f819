#pragma once

#include <string>
#include <string_view>

namespace velmor::settings {

// Texts of Windows into UTF-8.

void appendUtf8(std::string& out, char32_t c);

// UTF-16 code units into UTF-8, one at a time. The registry holds any code units; a surrogate
// without its partner, which UTF-8 cannot hold, becomes U+FFFD.
class Utf16Units {
  public:
    explicit Utf16Units(std::string& out) : out_(out) {}
    void add(char16_t unit);
    // Ends a pair left open.
    void finish();

  private:
    std::string& out_;
    char16_t high_ = 0;
};

// Bytes in code page 1252, the one of Windows in western Europe and America.
std::string fromCp1252(std::string_view bytes);

// Bytes in UTF-16LE; an odd last byte is left out.
std::string fromUtf16le(std::string_view bytes);

}  // namespace velmor::settings
