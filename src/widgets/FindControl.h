#pragma once

#include <QWidget>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmor::widgets {

// The control of the window with this object name and class. The window is built in code, so a
// missing control is a fault of the program itself, reported as such.
template <typename Widget>
Widget& findControl(QWidget& form, std::string_view name) {
    auto* widget = form.findChild<Widget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (widget == nullptr) {
        throw std::logic_error("the window has no control " + std::string(name));
    }
    return *widget;
}

}  // namespace velmor::widgets
