#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/Holders.h"

namespace velmor::test {

// The settings' holders without a window, in the main window's start state (from the control
// table): plain values by holder name, every change recorded in order. A name that is no holder
// of the kind asked for throws, as in the window.
class FakeHolders final : public settings::Holders {
    using Use = settings::HolderUse;

  public:
    FakeHolders();

    std::string text(std::string_view h) const override { return get(texts, h, Use::Text); }
    void setText(std::string_view h, const std::string& v) override {
        set(texts, h, Use::Text, v, v);
    }
    int boxState(std::string_view h) const override { return get(boxes, h, Use::Box); }
    void setBoxState(std::string_view h, int v) override {
        set(boxes, h, Use::Box, v, std::to_string(v));
    }
    int listIndex(std::string_view h) const override { return get(lists, h, Use::List); }
    int listCount(std::string_view h) const override { return get(listCounts, h, Use::List); }
    void setListIndex(std::string_view h, int v) override {
        set(lists, h, Use::List, v, std::to_string(v));
    }
    int sliderValue(std::string_view h) const override { return get(sliders, h, Use::Slider); }
    int sliderMinimum(std::string_view h) const override {
        return get(sliderRanges, h, Use::Slider).first;
    }
    int sliderMaximum(std::string_view h) const override {
        return get(sliderRanges, h, Use::Slider).second;
    }
    void setSliderValue(std::string_view h, int v) override {
        set(sliders, h, Use::Slider, v, std::to_string(v));
    }
    bool optionSelected(std::string_view h) const override { return get(options, h, Use::Option); }
    void selectOption(std::string_view holder) override;
    void deselectOption(std::string_view h) override {
        set(options, h, Use::Option, false, "deselected");
    }
    bool flag(std::string_view h) const override { return get(flags, h, Use::Flag); }
    void setFlag(std::string_view h, bool v) override {
        set(flags, h, Use::Flag, v, v ? "True" : "False");
    }

    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, int, std::less<>> boxes, lists, listCounts, sliders;
    std::map<std::string, std::pair<int, int>, std::less<>> sliderRanges;
    std::map<std::string, bool, std::less<>> options, flags;
    std::vector<std::string> changes;  // "holder=value", in order

  private:
    template <typename Map>
    static typename Map::mapped_type get(const Map& map, std::string_view holder, Use use) {
        settings::requireHolder(holder, use);
        const auto found = map.find(holder);
        return found == map.end() ? typename Map::mapped_type{} : found->second;
    }
    template <typename Map, typename Value>
    void set(Map& map, std::string_view holder, Use use, const Value& value,
             const std::string& shown) {
        settings::requireHolder(holder, use);
        map[std::string(holder)] = value;
        changes.push_back(std::string(holder) + "=" + shown);
    }
};

}  // namespace velmor::test
