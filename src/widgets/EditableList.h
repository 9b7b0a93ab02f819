#pragma once

#include <QComboBox>

namespace velmor::widgets {

// A list the user may also type into; a typed entry is never added to its items. Its text
// field is made the first time the list is shown: most of these lists sit on tabs that are not
// open when the program starts, and making the field is the dearest part of creating a list.
class EditableList final : public QComboBox {
    Q_OBJECT

  public:
    explicit EditableList(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;
};

// A list's selected item, -1 for none. Text typed into a list is not one of its items: once the
// text no longer reads as the current item, nothing is selected.
int selectedIndex(const QComboBox& list);

}  // namespace velmor::widgets
