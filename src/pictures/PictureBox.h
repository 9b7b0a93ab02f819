#pragma once

#include "pictures/PictureLinks.h"

class QLabel;
class QTabWidget;

namespace velmor::pictures {

// The picture box Image2 of the pictures tab. Its caption PicStatus lies beneath a shown
// picture, so it speaks only while the box is empty.
class PictureBox final : public PictureView {
  public:
    PictureBox(QLabel& image2, QLabel& picStatus, QTabWidget& ssTab1);

    bool load(const std::string& path) override;
    void clear() override;
    void showPicturesTab() override;

  private:
    QLabel& image2_;
    QLabel& picStatus_;
    QTabWidget& ssTab1_;
};

}  // namespace velmor::pictures
