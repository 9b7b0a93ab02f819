#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn when the program is built (ArtworkPainter.h) and stored
// inside it as one pack, so that they look the same wherever it runs and cost start-up no
// drawing and no decoding.
namespace velmor::widgets::artwork {

// Every picture of the pack, in the pack's order.
enum class Picture {
    ProductLogo,  // the VELMOR wordmark on a dark field, at the splash's size
    WindowLogo,   // the same at the size of the main window's corner
    SmallLogo,    // a compact form for the music tab
    Launch,       // faces and pressed pictures of the picture buttons, at their sizes
    LaunchPressed,
    ChooseGame,
    ChooseGamePressed,
    Ok,
    OkPressed,
    Cancel,
    CancelPressed,
    Icon16,  // the program's icon
    Icon32,
    Icon48,
    PlaylistIcon16,  // the shell's pictures of playlist files and of music files
    PlaylistIcon32,
    PlaylistIcon48,
    MusicIcon16,
    MusicIcon32,
    MusicIcon48,
};
inline constexpr int kPictureCount = static_cast<int>(Picture::MusicIcon48) + 1;

QPixmap picture(Picture which);

// The program's icon, at its three sizes.
QIcon windowIcon();

}  // namespace velmor::widgets::artwork
