#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/Holders.h"

namespace velmor::test {

// Holders without a window, in the main window's start state: plain values by holder name,
// every change recorded in order.
class FakeHolders final : public settings::Holders {
  public:
    FakeHolders();

    std::string text(std::string_view h) const override { return get(texts, h); }
    void setText(std::string_view h, const std::string& v) override { set(texts, h, v, v); }
    int boxState(std::string_view h) const override { return get(boxes, h); }
    void setBoxState(std::string_view h, int v) override { set(boxes, h, v, std::to_string(v)); }
    int listIndex(std::string_view h) const override { return get(lists, h); }
    int listCount(std::string_view h) const override { return get(listCounts, h); }
    void setListIndex(std::string_view h, int v) override { set(lists, h, v, std::to_string(v)); }
    int sliderValue(std::string_view h) const override { return get(sliders, h); }
    int sliderMinimum(std::string_view h) const override { return get(sliderRanges, h).first; }
    int sliderMaximum(std::string_view h) const override { return get(sliderRanges, h).second; }
    void setSliderValue(std::string_view h, int v) override {
        set(sliders, h, v, std::to_string(v));
    }
    bool optionSelected(std::string_view h) const override { return get(options, h); }
    void selectOption(std::string_view holder) override;
    void deselectOption(std::string_view h) override { set(options, h, false, "deselected"); }
    bool flag(std::string_view h) const override { return get(flags, h); }
    void setFlag(std::string_view h, bool v) override { set(flags, h, v, v ? "True" : "False"); }

    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, int, std::less<>> boxes, lists, listCounts, sliders;
    std::map<std::string, std::pair<int, int>, std::less<>> sliderRanges;
    std::map<std::string, bool, std::less<>> options, flags;
    std::vector<std::string> changes;  // "holder=value", in order

  private:
    template <typename Map>
    static typename Map::mapped_type get(const Map& map, std::string_view holder) {
        const auto found = map.find(holder);
        return found == map.end() ? typename Map::mapped_type{} : found->second;
    }
    template <typename Map, typename Value>
    void set(Map& map, std::string_view holder, const Value& value, const std::string& shown) {
        map[std::string(holder)] = value;
        changes.push_back(std::string(holder) + "=" + shown);
    }
};

}  // namespace velmor::test
