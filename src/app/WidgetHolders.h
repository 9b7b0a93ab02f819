#pragma once

#include <QHash>
#include <QString>

#include "settings/Holders.h"
#include "settings/SettingsRecord.h"

class QWidget;

namespace velmor::app {

// The settings' holders in a live window: each control found by its object name, and the
// record's plain variables. Texts cross over as UTF-8; a label or text box remembers the exact
// bytes it was given, so a stored name that is not valid UTF-8 is saved back unchanged.
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
    template <typename Widget>
    Widget* find(std::string_view holder) const;

    QHash<QString, QWidget*> widgets_;
    settings::SettingsRecord& record_;
};

}  // namespace velmor::app
