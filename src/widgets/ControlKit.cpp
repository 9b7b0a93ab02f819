#include "widgets/ControlKit.h"

#include "widgets/EditableList.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/ClickSlider.h"
#include "widgets/FitLabel.h"
#include "widgets/Geometry.h"
#include "widgets/PictureButton.h"

namespace velmor::widgets {

namespace {

template <typename Widget>
Widget* placed(Widget* widget, std::string_view name, const QRect& place, const QString& toolTip) {
    setName(*widget, name);
    widget->setGeometry(place);
    if (!toolTip.isEmpty()) {
        widget->setToolTip(toolTip);
    }
    return widget;
}

}  // namespace

void setName(QObject& object, std::string_view name) {
    object.setObjectName(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QFont dialogFont(qreal pointSize, bool bold) {
    QFont font;
    // The layout was measured in a narrow 8 point face; these come closest, in that order
    // (the metric twin of Arial first, the condensed cut of the usual Linux face last).
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QPalette systemPalette() {
    QPalette palette = QApplication::palette();
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            palette.setBrush(g, r, palette.brush(g, r));
        }
    }
    return palette;
}

void paintDark(QWidget* widget, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QCheckBox* checkBox(QWidget* parent, std::string_view name, const QString& caption,
                    const QRect& place, const QString& toolTip) {
    return placed(new QCheckBox(caption, parent), name, place, toolTip);
}

QRadioButton* optionButton(QWidget* parent, std::string_view name, const QString& caption,
                           const QRect& place) {
    return placed(new QRadioButton(caption, parent), name, place, {});
}

QLabel* label(QWidget* parent, std::string_view name, const QString& caption, const QRect& place,
              const QString& toolTip) {
    auto* result = placed(new QLabel(caption, parent), name, place, toolTip);
    result->setTextFormat(Qt::PlainText);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return result;
}

FitLabel* fittedLabel(QWidget* parent, std::string_view name, const QString& caption,
                      const QRect& place, const QString& toolTip) {
    auto* result = placed(new FitLabel(caption, parent), name, place, toolTip);
    result->resize(result->sizeHint());
    return result;
}

QLabel* picture(QWidget* parent, std::string_view name, const QPixmap& pixmap, const QRect& place,
                bool stretched) {
    auto* result = placed(new QLabel(parent), name, place, {});
    result->setPixmap(pixmap);
    result->setScaledContents(stretched);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return result;
}

QGroupBox* frame(QWidget* parent, std::string_view name, const QString& caption,
                 const QRect& place) {
    return placed(new QGroupBox(caption, parent), name, place, {});
}

QGroupBox* pageFrame(QWidget* page, std::string_view name, int leftTwips, int widthTwips) {
    return frame(page, name, {}, twipRect(leftTwips, kPageFrameTop, widthTwips, 2532));
}

QLineEdit* textBox(QWidget* parent, const controls::Control& box, const QRect& place,
                   const QString& toolTip) {
    return placed(new QLineEdit(QString::fromUtf8(box.text.data(), std::ssize(box.text)), parent),
                  box.name, place, toolTip);
}

QStringList itemTexts(const controls::Control& list) {
    QStringList texts;
    for (const std::string_view item : list.items) {
        texts << QString::fromUtf8(item.data(), std::ssize(item));
    }
    return texts;
}

QComboBox* comboBox(QWidget* parent, const controls::Control& list, const QRect& place) {
    auto* result = placed(new EditableList(parent), list.name, place, {});
    result->addItems(itemTexts(list));
    result->setCurrentIndex(-1);
    return result;
}

QComboBox* dropDownList(QWidget* parent, const controls::Control& list, const QRect& place,
                        const QString& toolTip) {
    auto* result = placed(new QComboBox(parent), list.name, place, toolTip);
    result->setEditable(false);
    if (!list.itemsAtStartUp) {
        result->addItems(itemTexts(list));
    }
    result->setCurrentIndex(-1);
    return result;
}

QPushButton* pushButton(QWidget* parent, std::string_view name, const QString& caption,
                        const QRect& place, const QString& toolTip) {
    auto* result = placed(new QPushButton(caption, parent), name, place, toolTip);
    result->setAutoDefault(false);
    return result;
}

PictureButton* pictureButton(QWidget* parent, std::string_view name, const QPixmap& face,
                             const QPixmap& pressed, const QRect& place, const QString& toolTip) {
    auto* result = placed(new PictureButton(parent), name, place, toolTip);
    result->setAutoDefault(false);
    result->setPictures(face, pressed);
    return result;
}

ClickSlider* slider(QWidget* parent, const controls::Control& slider, const QRect& place,
                    const QString& toolTip) {
    const controls::Range& range = slider.range;
    auto* result = placed(new ClickSlider(parent), slider.name, place, toolTip);
    result->setRange(range.minimum, range.maximum);
    result->setTickInterval(range.tickInterval);
    result->setTickPosition(QSlider::TicksBelow);
    result->setSingleStep(range.smallStep);
    result->setPageStep(range.largeStep);
    result->setValue(range.start);
    return result;
}

}  // namespace velmor::widgets
