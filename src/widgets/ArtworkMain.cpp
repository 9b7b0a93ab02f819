// Draws the program's pictures into one pack, in the form the build stores inside the program
// (see Artwork.cpp): start-up then only copies them; decoding even small PNG files took a tenth
// of its time. Given a second folder, it also writes the icons that an installation puts into
// the desktop's hicolor theme, as PNG files in the theme's layout.
//
//   velmor_artwork FILE [ICON-FOLDER]

#include <QDir>
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
        case Picture::PlaylistIcon16:
            return painter::playlistIcon(16);
        case Picture::PlaylistIcon32:
            return painter::playlistIcon(32);
        case Picture::PlaylistIcon48:
            return painter::playlistIcon(48);
        case Picture::MusicIcon16:
            return painter::musicIcon(16);
        case Picture::MusicIcon32:
            return painter::musicIcon(32);
        case Picture::MusicIcon48:
            return painter::musicIcon(48);
    }
    return {};
}

// The program's icon and the two file-type icons, at each size they are drawn at.
bool writeThemeIcons(const QString& folder) {
    struct Themed {
        Picture picture;
        const char* context;
        const char* name;
    };
    const Themed icons[] = {
        {Picture::Icon16, "apps", "velmor"},
        {Picture::Icon32, "apps", "velmor"},
        {Picture::Icon48, "apps", "velmor"},
        {Picture::PlaylistIcon16, "mimetypes", "velmor-playlist"},
        {Picture::PlaylistIcon32, "mimetypes", "velmor-playlist"},
        {Picture::PlaylistIcon48, "mimetypes", "velmor-playlist"},
        {Picture::MusicIcon16, "mimetypes", "velmor-music"},
        {Picture::MusicIcon32, "mimetypes", "velmor-music"},
        {Picture::MusicIcon48, "mimetypes", "velmor-music"},
    };
    for (const Themed& icon : icons) {
        const QPixmap pixmap = draw(icon.picture);
        const QString size = QStringLiteral("%1x%1").arg(pixmap.width());
        const QString path =
            QStringLiteral("%1/%2/%3").arg(folder, size, QLatin1String(icon.context));
        if (!QDir().mkpath(path) ||
            !pixmap.save(path + QLatin1Char('/') + QLatin1String(icon.name) + ".png", "PNG")) {
            std::fprintf(stderr, "velmor_artwork: cannot write the icons into %s\n",
                         qPrintable(path));
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: velmor_artwork FILE [ICON-FOLDER]\n");
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
    if (out.error() != QFileDevice::NoError) {
        return 1;
    }
    return argc == 3 && !writeThemeIcons(QString::fromLocal8Bit(argv[2])) ? 1 : 0;
}
