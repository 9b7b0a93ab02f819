#pragma once

#include <QObject>
#include <stdexcept>
#include <string>

namespace velmor::test {

// The control of `window` with this object name and class; a missing one fails the test with
// its name rather than crashing it.
template <typename Widget>
Widget& findControl(const QObject& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        throw std::logic_error(std::string("no control ") + name);
    }
    return *widget;
}

}  // namespace velmor::test
