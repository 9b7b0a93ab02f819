#include "dialogs/OptionsWindow.h"

#include <QCheckBox>
#include <QCloseEvent>

#include "settings/SettingsRecord.h"
#include "widgets/Artwork.h"
#include "widgets/CancelOnEscape.h"
#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"
#include "widgets/PictureButton.h"

namespace velmor::dialogs {

using widgets::twipRect;
using widgets::twips;
namespace artwork = widgets::artwork;

OptionsWindow::OptionsWindow(settings::SettingsRecord& record, QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      record_(record) {
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("Options"));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(widgets::dialogFont());
    widgets::paintDark(this);
    resize(twips(3768), twips(1812));

    check1_ =
        widgets::checkBox(this, "Check1", QStringLiteral("Disable ScreenSaver While in ZSNES"),
                          twipRect(240, 240, 3252, 252));
    check2_ = widgets::checkBox(this, "Check2", QStringLiteral("Use Automatic Tab Switching"),
                                twipRect(240, 600, 3372, 252));
    check3_ = widgets::checkBox(this, "Check3", QStringLiteral("Close SPCplay on exit"),
                                twipRect(240, 960, 3372, 252));
    auto* accept = widgets::pictureButton(this, "Command1", artwork::picture(artwork::Picture::Ok),
                                          artwork::picture(artwork::Picture::OkPressed),
                                          twipRect(2160, 1320, 1215, 375));
    accept->setAccessibleName(QStringLiteral("OK"));
    auto* cancel = widgets::pictureButton(
        this, "Command2", artwork::picture(artwork::Picture::Cancel),
        artwork::picture(artwork::Picture::CancelPressed), twipRect(360, 1320, 1215, 375));
    cancel->setAccessibleName(QStringLiteral("Cancel"));

    // The box asks whether the saver is switched off; the setting says whether it is left on.
    check1_->setChecked(!record_.screenSaver);
    check2_->setChecked(record_.autoTab);
    check3_->setChecked(record_.closeSpc);

    connect(accept, &QAbstractButton::clicked, this, &OptionsWindow::command1Click);
    connect(cancel, &QAbstractButton::clicked, this, &QWidget::close);
    widgets::cancelOnEscape(*this, *cancel);
}

void OptionsWindow::command1Click() {
    record_.screenSaver = !check1_->isChecked();
    record_.autoTab = check2_->isChecked();
    record_.closeSpc = check3_->isChecked();
    close();
}

void OptionsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

// First shown over the middle of the main window, where the choice that opened it was made.
void OptionsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || parentWidget() == nullptr) {
        return;
    }
    placed_ = true;
    QRect frame = frameGeometry();
    frame.moveCenter(parentWidget()->frameGeometry().center());
    move(frame.topLeft());
}

}  // namespace velmor::dialogs
