#include "support/StampHolders.h"

#include <charconv>

#include "settings/Catalogue.h"
#include "settings/ValueKinds.h"

namespace velmor::test {

std::pair<int, int> StampHolders::parseStamp(std::string_view text) {
    int copy = -1;
    int pass = -1;
    constexpr std::string_view kCopy = "copy";
    constexpr std::string_view kPass = "-pass";
    if (!text.starts_with(kCopy)) {
        return {-1, -1};
    }
    text.remove_prefix(kCopy.size());
    auto [afterCopy, copyError] = std::from_chars(text.data(), text.data() + text.size(), copy);
    text.remove_prefix(static_cast<std::size_t>(afterCopy - text.data()));
    if (copyError != std::errc{} || !text.starts_with(kPass)) {
        return {-1, -1};
    }
    text.remove_prefix(kPass.size());
    auto [afterPass, passError] = std::from_chars(text.data(), text.data() + text.size(), pass);
    if (passError != std::errc{} || afterPass == text.data()) {
        return {-1, -1};
    }
    return {copy, pass};
}

// FNV-1a over the holder name and the pass, so that neighbouring passes differ in many bits.
unsigned StampHolders::hash(std::string_view holder) const {
    unsigned value = 2166136261u;
    auto mix = [&value](unsigned char byte) {
        value ^= byte;
        value *= 16777619u;
    };
    for (const char c : holder) {
        mix(static_cast<unsigned char>(c));
    }
    for (const int number : {copy_, pass_}) {
        for (int shift = 0; shift < 32; shift += 8) {
            mix(static_cast<unsigned char>(static_cast<unsigned>(number) >> shift));
        }
    }
    return value;
}

std::string StampHolders::text(std::string_view holder) const {
    return "copy" + std::to_string(copy_) + "-pass" + std::to_string(pass_) + "-" +
           std::string(holder);
}

int StampHolders::boxState(std::string_view holder) const {
    return static_cast<int>(hash(holder) % 3);
}

int StampHolders::listIndex(std::string_view holder) const {
    return copy_ * 100000 + pass_ + static_cast<int>(hash(holder) % 7);
}

int StampHolders::sliderValue(std::string_view holder) const {
    return copy_ * 100000 + pass_ + static_cast<int>(hash(holder) % 11);
}

bool StampHolders::optionSelected(std::string_view holder) const {
    return (hash(holder) & 1u) != 0;
}

bool StampHolders::flag(std::string_view holder) const {
    return (hash(holder) & 2u) != 0;
}

std::vector<std::string> storedTextsOfPass(int copy, int pass) {
    std::vector<std::string> texts;
    const StampHolders holders(copy, pass);
    for (const settings::Setting& setting : settings::kSettings) {
        texts.push_back(settings::writtenText(setting, holders) + '\0');
    }
    return texts;
}

}  // namespace velmor::test
