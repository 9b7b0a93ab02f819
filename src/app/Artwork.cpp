#include "app/Artwork.h"

#include <QImage>
#include <QPixmapCache>
#include <QResource>
#include <QtEndian>
#include <cstring>

namespace velmor::app::artwork {
namespace {

// A picture as the build stored it: width and height, then premultiplied ARGB pixels. A picture
// whose size does not match its data gives an empty pixmap rather than a read past its end.
QImage storedImage(const QString& path) {
    const QResource resource(path);
    const QByteArray data = resource.uncompressedData();
    quint32 size[2] = {0, 0};
    if (data.size() < static_cast<qsizetype>(sizeof size)) {
        return {};
    }
    std::memcpy(size, data.constData(), sizeof size);
    const qsizetype width = qFromLittleEndian(size[0]);
    const qsizetype height = qFromLittleEndian(size[1]);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 ||
        data.size() != static_cast<qsizetype>(sizeof size) + width * height * 4) {
        return {};
    }
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 QImage::Format_ARGB32_Premultiplied);
    const char* pixels = data.constData() + sizeof size;
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y), pixels + y * width * 4, static_cast<std::size_t>(width * 4));
    }
    return image;
}

// Each picture is made into a pixmap once, however often it is shown.
QPixmap stored(const QString& name) {
    const QString path = QStringLiteral(":/artwork/") + name + QStringLiteral(".argb");
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        pixmap = QPixmap::fromImage(storedImage(path));
        QPixmapCache::insert(path, pixmap);
    }
    return pixmap;
}

}  // namespace

QPixmap productLogo() {
    return stored(QStringLiteral("product-logo"));
}
QPixmap windowLogo() {
    return stored(QStringLiteral("window-logo"));
}
QPixmap smallLogo() {
    return stored(QStringLiteral("small-logo"));
}
QPixmap launchFace() {
    return stored(QStringLiteral("launch"));
}
QPixmap launchPressed() {
    return stored(QStringLiteral("launch-pressed"));
}
QPixmap chooseGameFace() {
    return stored(QStringLiteral("choose-game"));
}
QPixmap chooseGamePressed() {
    return stored(QStringLiteral("choose-game-pressed"));
}
QPixmap okFace() {
    return stored(QStringLiteral("ok"));
}
QPixmap okPressed() {
    return stored(QStringLiteral("ok-pressed"));
}
QPixmap cancelFace() {
    return stored(QStringLiteral("cancel"));
}
QPixmap cancelPressed() {
    return stored(QStringLiteral("cancel-pressed"));
}

QIcon windowIcon() {
    QIcon icon;
    for (const int side : {16, 32, 48}) {
        icon.addPixmap(stored(QStringLiteral("icon-%1").arg(side)));
    }
    return icon;
}

}  // namespace velmor::app::artwork
