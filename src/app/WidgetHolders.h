#pragma once

#include <QHash>
#include <QString>

#include "settings/Holders.h"
#include "settings/SettingsRecord.h"

class QWidget;

namespace velmor::app {

// The settings' holders in a live window: each control found by its object name, and the
// record's plain variables. Labels and text boxes hold their texts as bytes (widgets/TextBytes.h),
// so a stored name that is not valid UTF-8 is saved back unchanged.
class WidgetHolders final : public settings::Holders {
  public:
    WidgetHolders(QWidget& form, settings::SettingsRecord& record);

    std::string text(std::string_view holder) const override;
    void setText(std::string_view holder, const std::string& text) override;
    int boxState(std::string_view holder) const override;
    void setBoxState(std::string_view holder, int state) override;
    int listIndex(std::string_view holder) const override;
    int listCount(std::string_view holder) const override;
    void setListIndex(std::string_view holder, int index) override;
    int sliderValue(std::string_view holder) const override;
    int sliderMinimum(std::string_view holder) const override;
    int sliderMaximum(std::string_view holder) const override;
    void setSliderValue(std::string_view holder, int value) override;
    bool optionSelected(std::string_view holder) const override;
    void selectOption(std::string_view holder) override;
    void deselectOption(std::string_view holder) override;
    bool flag(std::string_view holder) const override;
    void setFlag(std::string_view holder, bool value) override;

  private:
    // The control of a holder that may be asked for `use`, or null when it is of another class;
    // `get` throws instead.
    template <typename Widget>
    Widget* find(std::string_view holder, settings::HolderUse use) const;
    template <typename Widget>
    Widget& get(std::string_view holder, settings::HolderUse use) const;

    QHash<QString, QWidget*> widgets_;
    settings::SettingsRecord& record_;
};

}  // namespace velmor::app
