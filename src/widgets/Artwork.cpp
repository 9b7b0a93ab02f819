#include "widgets/Artwork.h"

#include <QImage>
#include <QPixmapCache>
#include <QResource>
#include <QtEndian>
#include <cstring>

namespace velmor::widgets::artwork {
namespace {

// The pack as the build stored it: the number of pictures, then each picture's width and
// height and its premultiplied ARGB pixels row by row (32-bit little-endian words throughout).
// A pack that does not hold what it says gives empty pictures rather than a read past its end.
QImage storedImage(Picture which) {
    const QByteArray pack = QResource(QStringLiteral(":/artwork/artwork.pack")).uncompressedData();
    const auto word = [&](qsizetype at) -> qsizetype {
        quint32 value = 0;
        if (at < 0 || at + 4 > pack.size()) {
            return -1;
        }
        std::memcpy(&value, pack.constData() + at, sizeof value);
        return qFromLittleEndian(value);
    };
    if (word(0) != kPictureCount) {
        return {};
    }
    qsizetype at = 4;
    for (int index = 0;; ++index) {
        const qsizetype width = word(at);
        const qsizetype height = word(at + 4);
        if (width <= 0 || height <= 0 || width > 4096 || height > 4096 ||
            at + 8 + width * height * 4 > pack.size()) {
            return {};
        }
        if (index == static_cast<int>(which)) {
            QImage image(static_cast<int>(width), static_cast<int>(height),
                         QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < image.height(); ++y) {
                std::memcpy(image.scanLine(y), pack.constData() + at + 8 + y * width * 4,
                            static_cast<std::size_t>(width * 4));
            }
            return image;
        }
        at += 8 + width * height * 4;
    }
}

}  // namespace

// Each picture is made into a pixmap once, however often it is shown.
QPixmap picture(Picture which) {
    const QString key = QStringLiteral("velmor-artwork-%1").arg(static_cast<int>(which));
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(storedImage(which));
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QIcon windowIcon() {
    QIcon icon;
    for (const Picture size : {Picture::Icon16, Picture::Icon32, Picture::Icon48}) {
        icon.addPixmap(picture(size));
    }
    return icon;
}

}  // namespace velmor::widgets::artwork
