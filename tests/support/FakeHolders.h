#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/Holders.h"

namespace velmor::test {

// Holders without a window: plain values by holder name, every change recorded in order.
// Lists and sliders answer their size and range from the tables set up by the test.
class FakeHolders final : public settings::Holders {
  public:
    FakeHolders();

    std::string text(std::string_view holder) const override { return get(texts, holder); }
    void setText(std::string_view holder, const std::string& value) override;
    int boxState(std::string_view holder) const override { return get(boxes, holder); }
    void setBoxState(std::string_view holder, int state) override;
    int listIndex(std::string_view holder) const override { return get(lists, holder); }
    int listCount(std::string_view holder) const override { return get(listCounts, holder); }
    void setListIndex(std::string_view holder, int index) override;
    int sliderValue(std::string_view holder) const override { return get(sliders, holder); }
    int sliderMinimum(std::string_view holder) const override;
    int sliderMaximum(std::string_view holder) const override;
    void setSliderValue(std::string_view holder, int value) override;
    bool optionSelected(std::string_view holder) const override { return get(options, holder); }
    void selectOption(std::string_view holder) override;
    void deselectOption(std::string_view holder) override;
    bool flag(std::string_view holder) const override { return get(flags, holder); }
    void setFlag(std::string_view holder, bool value) override;

    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, int, std::less<>> boxes;
    std::map<std::string, int, std::less<>> lists;
    std::map<std::string, int, std::less<>> listCounts;
    std::map<std::string, int, std::less<>> sliders;
    std::map<std::string, std::pair<int, int>, std::less<>> sliderRanges;
    std::map<std::string, bool, std::less<>> options;
    std::map<std::string, bool, std::less<>> flags;
    std::vector<std::string> changes;  // "holder=value", in order

  private:
    template <typename Map>
    static typename Map::mapped_type get(const Map& map, std::string_view holder) {
        const auto found = map.find(holder);
        return found == map.end() ? typename Map::mapped_type{} : found->second;
    }
    void record(std::string_view holder, const std::string& value);
};

}  // namespace velmor::test
