#pragma once

#include <string>
#include <string_view>

class QLabel;
class QLineEdit;

namespace velmor::widgets {

// A label's or text box's text as bytes. Texts go into the widgets as UTF-8, and a text that is
// not valid UTF-8 (a file name, say) cannot be shown as it is: the widget keeps the bytes it was
// given beside what it shows, and hands them back for as long as it still shows them, so that
// such a text goes back out unchanged.
void setTextBytes(QLabel& label, std::string_view bytes);
void setTextBytes(QLineEdit& box, std::string_view bytes);
std::string textBytes(const QLabel& label);
std::string textBytes(const QLineEdit& box);

}  // namespace velmor::widgets
