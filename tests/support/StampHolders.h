#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/Holders.h"

namespace velmor::test {

// Holders whose every state is a function of one save pass: the copy of the program that saves
// and the pass number. Texts carry both openly ("copy2-pass17-GmLabel"), numbers encode them,
// and boxes, options and flags follow a hash of them, so that a stored set of values mixed from
// two passes is told apart from the set that one pass writes. Setters are ignored.
class StampHolders final : public settings::Holders {
  public:
    StampHolders(int copy, int pass) : copy_(copy), pass_(pass) {}

    // The pass a stored "Last Game" text names, or {-1, -1} when it names none.
    static std::pair<int, int> parseStamp(std::string_view text);

    std::string text(std::string_view holder) const override;
    void setText(std::string_view, const std::string&) override {}

    int boxState(std::string_view holder) const override;
    void setBoxState(std::string_view, int) override {}

    int listIndex(std::string_view holder) const override;
    int listCount(std::string_view) const override { return 1 << 30; }
    void setListIndex(std::string_view, int) override {}

    int sliderValue(std::string_view holder) const override;
    int sliderMinimum(std::string_view) const override { return 0; }
    int sliderMaximum(std::string_view) const override { return 1 << 30; }
    void setSliderValue(std::string_view, int) override {}

    bool optionSelected(std::string_view holder) const override;
    void selectOption(std::string_view) override {}
    void deselectOption(std::string_view) override {}

    bool flag(std::string_view holder) const override;
    void setFlag(std::string_view, bool) override {}

  private:
    unsigned hash(std::string_view holder) const;

    int copy_;
    int pass_;
};

// The data that a save of pass `pass` of copy `copy` stores for each setting of the catalogue,
// in its order: the written text and one NUL.
std::vector<std::string> storedTextsOfPass(int copy, int pass);

}  // namespace velmor::test
