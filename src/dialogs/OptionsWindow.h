#pragma once

#include <QWidget>

class QAbstractButton;
class QCheckBox;

namespace velmor::settings {
struct SettingsRecord;
}

namespace velmor::dialogs {

// Options: a small tool window for the three program-wide switches. It shows them as they are
// when it opens; OK stores what the boxes show, while Cancel, Escape and the close box store
// nothing. It is modeless, and it goes away when closed.
class OptionsWindow final : public QWidget {
    Q_OBJECT

  public:
    OptionsWindow(settings::SettingsRecord& record, QWidget* owner);

    // Shows the Options window of `owner`: the one already open, brought forward with the
    // choices the user has made in it so far, or else a new one filled from the settings.
    static OptionsWindow* open(settings::SettingsRecord& record, QWidget& owner);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void command1Click();

    settings::SettingsRecord& record_;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QAbstractButton* cancel_ = nullptr;
    bool placed_ = false;
};

}  // namespace velmor::dialogs
