#pragma once

#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

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
QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, const QRect& place,
                    const QString& toolTip = {});
QRadioButton* optionButton(QWidget* parent, const char* name, const QString& caption,
                           const QRect& place);
QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& place,
              const QString& toolTip = {});
// A label sized to its text: it keeps the top left corner of its place and takes the size its
// text needs in the font in use, now and whenever the text changes.
FitLabel* fittedLabel(QWidget* parent, const char* name, const QString& caption, const QRect& place,
                      const QString& toolTip = {});
QLabel* picture(QWidget* parent, const char* name, const QPixmap& pixmap, const QRect& place,
                bool stretched);
// A frame; an empty caption gives a bare border.
QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, const QRect& place);
// The width of the tab control and of its page frames, in twips.
inline constexpr int kPageWidth = 5652;
// Where a page frame's top lies on its tab page, in twips: above the page, so that its top
// border hides under the tab row. The frames were drawn a little taller than the tab's page
// area, so their lowest controls would be cut off; raised this far, the controls keep a few
// pixels' margin at either end. Controls placed on the page beside its frame are placed from
// here too.
inline constexpr int kPageFrameTop = -195;

// The captionless frame that fills a tab as its page and carries the tab's controls.
QGroupBox* pageFrame(QWidget* page, const char* name, int leftTwips = 0,
                     int widthTwips = kPageWidth);
QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, const QRect& place,
                   const QString& toolTip = {});
// A list with a text field the user may type in; typing never adds an item.
QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items,
                    const QRect& place);
// A list whose text can only be chosen.
QComboBox* dropDownList(QWidget* parent, const char* name, const QStringList& items,
                        const QRect& place, const QString& toolTip = {});
QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& place, const QString& toolTip = {});
PictureButton* pictureButton(QWidget* parent, const char* name, const QPixmap& face,
                             const QPixmap& pressed, const QRect& place,
                             const QString& toolTip = {});

struct SliderRange {
    int minimum;
    int maximum;
    int tickInterval;
    int smallStep;
    int largeStep;
    int value;
};
ClickSlider* slider(QWidget* parent, const char* name, const SliderRange& range, const QRect& place,
                    const QString& toolTip = {});

}  // namespace velmor::widgets
