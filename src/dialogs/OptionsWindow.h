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
// nothing. It is modeless; its owner lets it go once it has closed.
class OptionsWindow final : public QWidget {
    Q_OBJECT

  public:
    OptionsWindow(settings::SettingsRecord& record, QWidget* owner);

  signals:
    // The window has closed, by any means.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void command1Click();

    settings::SettingsRecord& record_;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    bool placed_ = false;
};

}  // namespace velmor::dialogs
