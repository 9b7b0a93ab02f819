#include "platform/QtMessages.h"

#include <QMessageBox>
#include <QString>

namespace velmor::platform {

void QtMessages::show(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Velmor"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace velmor::platform
