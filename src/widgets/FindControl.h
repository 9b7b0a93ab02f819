#pragma once

#include <QWidget>
#include <stdexcept>
#include <string>

namespace velmor::widgets {

// The control of the window with this object name and class. The window is built in code, so a
// missing control is a fault of the program itself, reported as such.
template <typename Widget>
Widget& findControl(QWidget& form, const char* name) {
    auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        throw std::logic_error(std::string("the window has no control ") + name);
    }
    return *widget;
}

}  // namespace velmor::widgets
