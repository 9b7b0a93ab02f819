#pragma once

#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <string_view>

#include "settings/Controls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace velmor::widgets {

class ClickSlider;
class FitLabel;
class PictureButton;

// Gives a control, menu or menu item the object name it is known by.
void setName(QObject& object, std::string_view name);

// The program's dialog font: a plain sans serif at 8 points on whichever of these families
// the system has.
QFont dialogFont(qreal pointSize = 8.0, bool bold = false);

// The application's palette with every role pinned, so that a widget given it stops taking
// colours from a dark parent.
QPalette systemPalette();

// Black background with the given text colour, for the dark parts of the windows.
void paintDark(QWidget* widget, const QColor& text = Qt::white);

// Every control of the windows is made through these: each takes its container, its object
// name and its place in pixels (see twipRect) and returns the control, owned by the container.
// Lists, sliders and text boxes of the main window take their items, range or first text from
// their row of the control table.
QCheckBox* checkBox(QWidget* parent, std::string_view name, const QString& caption,
                    const QRect& place, const QString& toolTip = {});
QRadioButton* optionButton(QWidget* parent, std::string_view name, const QString& caption,
                           const QRect& place);
QLabel* label(QWidget* parent, std::string_view name, const QString& caption, const QRect& place,
              const QString& toolTip = {});
// A label sized to its text: it keeps the top left corner of its place and takes the size its
// text needs in the font in use, now and whenever the text changes.
FitLabel* fittedLabel(QWidget* parent, std::string_view name, const QString& caption,
                      const QRect& place, const QString& toolTip = {});
QLabel* picture(QWidget* parent, std::string_view name, const QPixmap& pixmap, const QRect& place,
                bool stretched);
// A frame; an empty caption gives a bare border.
QGroupBox* frame(QWidget* parent, std::string_view name, const QString& caption,
                 const QRect& place);
// The width of the tab control and of its page frames, in twips.
inline constexpr int kPageWidth = 5652;
// Where a page frame's top lies on its tab page, in twips: above the page, so that its top
// border hides under the tab row. The frames were drawn a little taller than the tab's page
// area, so their lowest controls would be cut off; raised this far, the controls keep a few
// pixels' margin at either end. Controls placed on the page beside its frame are placed from
// here too.
inline constexpr int kPageFrameTop = -195;

// The captionless frame that fills a tab as its page and carries the tab's controls.
QGroupBox* pageFrame(QWidget* page, std::string_view name, int leftTwips = 0,
                     int widthTwips = kPageWidth);
QLineEdit* textBox(QWidget* parent, const controls::Control& box, const QRect& place,
                   const QString& toolTip = {});
// A list with a text field the user may type in; typing never adds an item.
QComboBox* comboBox(QWidget* parent, const controls::Control& list, const QRect& place);
// A list whose text can only be chosen.
QComboBox* dropDownList(QWidget* parent, const controls::Control& list, const QRect& place,
                        const QString& toolTip = {});
// A list's items as the window shows them.
QStringList itemTexts(const controls::Control& list);
QPushButton* pushButton(QWidget* parent, std::string_view name, const QString& caption,
                        const QRect& place, const QString& toolTip = {});
PictureButton* pictureButton(QWidget* parent, std::string_view name, const QPixmap& face,
                             const QPixmap& pressed, const QRect& place,
                             const QString& toolTip = {});

ClickSlider* slider(QWidget* parent, const controls::Control& slider, const QRect& place,
                    const QString& toolTip = {});

}  // namespace velmor::widgets
