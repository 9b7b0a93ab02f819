// Draws the program's pictures into a folder, in the form the build stores inside the program:
// a picture file holds its width and height (32 bits each, little-endian) and then its pixels,
// row by row, as premultiplied 32-bit ARGB words in the machine's byte order. Start-up then only
// copies them; decoding even small PNG files took a tenth of its time.
//
//   velmor_artwork FOLDER

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QtEndian>
#include <cstdio>
#include <functional>
#include <utility>

#include "app/ArtworkPainter.h"

namespace painter = velmor::app::artwork::painter;

namespace {

bool writeRaw(const QPixmap& pixmap, const QString& file) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QFile out(file);
    if (image.isNull() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const quint32 size[2] = {qToLittleEndian<quint32>(static_cast<quint32>(image.width())),
                             qToLittleEndian<quint32>(static_cast<quint32>(image.height()))};
    out.write(reinterpret_cast<const char*>(size), sizeof size);
    for (int y = 0; y < image.height(); ++y) {
        out.write(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    }
    return out.error() == QFileDevice::NoError;
}

// The logo is drawn large and brought down to each place it is shown, so it stays smooth.
QPixmap logoAt(int width, int height) {
    return painter::productLogo().scaled(width, height, Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmor_artwork FOLDER\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "velmor_artwork: cannot create %s\n", argv[1]);
        return 1;
    }
    const std::pair<const char*, std::function<QPixmap()>> pictures[] = {
        {"product-logo", [] { return logoAt(294, 118); }},
        {"window-logo", [] { return logoAt(93, 47); }},
        {"small-logo", painter::smallLogo},
        {"launch", painter::launchFace},
        {"launch-pressed", painter::launchPressed},
        {"choose-game", painter::chooseGameFace},
        {"choose-game-pressed", painter::chooseGamePressed},
        {"ok", painter::okFace},
        {"ok-pressed", painter::okPressed},
        {"cancel", painter::cancelFace},
        {"cancel-pressed", painter::cancelPressed},
        {"icon-16", [] { return painter::icon(16); }},
        {"icon-32", [] { return painter::icon(32); }},
        {"icon-48", [] { return painter::icon(48); }},
    };
    for (const auto& [name, draw] : pictures) {
        const QString file = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".argb"));
        if (!writeRaw(draw(), file)) {
            std::fprintf(stderr, "velmor_artwork: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
