#pragma once

#include <QPixmap>
#include <QPushButton>

namespace velmor::widgets {

// A push button that is all picture: its face fills the button, and a second picture takes
// the face's place while the button is held down.
class PictureButton final : public QPushButton {
    Q_OBJECT

  public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setPictures(const QPixmap& face, const QPixmap& pressed);
    const QPixmap& face() const { return face_; }
    const QPixmap& pressedPicture() const { return pressed_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPixmap face_;
    QPixmap pressed_;
};

}  // namespace velmor::widgets
