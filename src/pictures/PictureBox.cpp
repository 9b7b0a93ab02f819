#include "pictures/PictureBox.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>

#include "pictures/PictureDecoder.h"
#include "settings/Controls.h"

namespace velmor::pictures {
namespace {

// The most any one picture may take while it is decoded. The box is small: a picture that
// needs more than this whole is shrunk while it is read, or refused.
constexpr int kDecodeLimitMegabytes = 128;

}  // namespace

PictureBox::PictureBox(QLabel& image2, QLabel& picStatus, QTabWidget& ssTab1)
    : image2_(image2), picStatus_(picStatus), ssTab1_(ssTab1) {
    QImageReader::setAllocationLimit(kDecodeLimitMegabytes);
}

bool PictureBox::load(const std::string& path) {
    const QSize box = image2_.contentsRect().size() * image2_.devicePixelRatioF();
    const QImage picture = readPicture(path, box);
    if (picture.isNull()) {
        clear();
        return false;
    }
    image2_.setPixmap(QPixmap::fromImage(picture));
    picStatus_.stackUnder(&image2_);
    return true;
}

void PictureBox::clear() {
    image2_.clear();
    image2_.stackUnder(&picStatus_);
}

void PictureBox::showPicturesTab() {
    ssTab1_.setCurrentIndex(controls::kPicturesTab);
}

}  // namespace velmor::pictures
