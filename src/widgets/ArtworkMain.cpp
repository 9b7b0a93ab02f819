// Draws the program's pictures into one pack, in the form the build stores inside the program
// (see Artwork.cpp): start-up then only copies them; decoding even small PNG files took a tenth
// of its time.
//
//   velmor_artwork FILE

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QtEndian>
#include <cstdio>

#include "widgets/Artwork.h"
#include "widgets/ArtworkPainter.h"

namespace painter = velmor::widgets::artwork::painter;
using velmor::widgets::artwork::kPictureCount;
using velmor::widgets::artwork::Picture;

namespace {

void writeWord(QFile& out, qsizetype value) {
    const quint32 word = qToLittleEndian<quint32>(static_cast<quint32>(value));
    out.write(reinterpret_cast<const char*>(&word), sizeof word);
}

void writePicture(QFile& out, const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    writeWord(out, image.width());
    writeWord(out, image.height());
    for (int y = 0; y < image.height(); ++y) {
        out.write(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    }
}

// The logo is drawn large and brought down to each place it is shown, so it stays smooth.
QPixmap logoAt(int width, int height) {
    return painter::productLogo().scaled(width, height, Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
}

QPixmap draw(Picture which) {
    switch (which) {
        case Picture::ProductLogo:
            return logoAt(294, 118);
        case Picture::WindowLogo:
            return logoAt(93, 47);
        case Picture::SmallLogo:
            return painter::smallLogo();
        case Picture::Launch:
            return painter::launchFace();
        case Picture::LaunchPressed:
            return painter::launchPressed();
        case Picture::ChooseGame:
            return painter::chooseGameFace();
        case Picture::ChooseGamePressed:
            return painter::chooseGamePressed();
        case Picture::Ok:
            return painter::okFace();
        case Picture::OkPressed:
            return painter::okPressed();
        case Picture::Cancel:
            return painter::cancelFace();
        case Picture::CancelPressed:
            return painter::cancelPressed();
        case Picture::Icon16:
            return painter::icon(16);
        case Picture::Icon32:
            return painter::icon(32);
        case Picture::Icon48:
            return painter::icon(48);
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmor_artwork FILE\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "velmor_artwork: cannot write %s\n", argv[1]);
        return 1;
    }
    writeWord(out, kPictureCount);
    for (int index = 0; index < kPictureCount; ++index) {
        writePicture(out, draw(static_cast<Picture>(index)));
    }
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
