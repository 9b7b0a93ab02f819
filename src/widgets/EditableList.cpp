#include "widgets/EditableList.h"

namespace velmor::widgets {

EditableList::EditableList(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
}

void EditableList::showEvent(QShowEvent* event) {
    if (!isEditable()) {
        // The field starts with the selected item's text, or empty with no selection.
        setEditable(true);
    }
    QComboBox::showEvent(event);
}

}  // namespace velmor::widgets
