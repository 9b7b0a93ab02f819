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

int selectedIndex(const QComboBox& list) {
    const int index = list.currentIndex();
    if (index >= 0 && list.isEditable() && list.currentText() != list.itemText(index)) {
        return -1;
    }
    return index;
}

}  // namespace velmor::widgets
