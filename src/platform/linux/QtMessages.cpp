#include "platform/linux/QtMessages.h"

#include <QMessageBox>
#include <QString>

namespace velmor::platform {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtMessages::show(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Velmor"), fromUtf8(text), QMessageBox::Ok,
                    owner_);
    box.exec();
}

Messages::Answer QtMessages::ask(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, fromUtf8(title), fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner_);
    // Escape and the close box answer Cancel.
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

}  // namespace velmor::platform
