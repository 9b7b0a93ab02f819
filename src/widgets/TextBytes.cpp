#include "widgets/TextBytes.h"

#include <QLabel>
#include <QLineEdit>
#include <QVariant>

namespace velmor::widgets {
namespace {

// The property under which a widget keeps the bytes it was last given.
constexpr const char* kBytes = "velmorTextBytes";

QString shown(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

template <typename Widget>
void set(Widget& widget, std::string_view bytes) {
    widget.setText(shown(bytes));
    widget.setProperty(kBytes, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

template <typename Widget>
std::string get(const Widget& widget) {
    const QString text = widget.text();
    const QByteArray bytes = widget.property(kBytes).toByteArray();
    if (!bytes.isNull() && QString::fromUtf8(bytes) == text) {
        return bytes.toStdString();
    }
    return text.toStdString();
}

}  // namespace

void setTextBytes(QLabel& label, std::string_view bytes) {
    set(label, bytes);
}

void setTextBytes(QLineEdit& box, std::string_view bytes) {
    set(box, bytes);
}

std::string textBytes(const QLabel& label) {
    return get(label);
}

std::string textBytes(const QLineEdit& box) {
    return get(box);
}

}  // namespace velmor::widgets
