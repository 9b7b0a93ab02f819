#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn when asked for: nothing is read from disk, so the windows
// look the same wherever the program runs. Pictures meant to be stretched are drawn larger
// than their boxes so that they stay sharp.
namespace velmor::app::artwork {

// The product logo: the VELMOR wordmark on a dark field (main window and splash).
QPixmap productLogo();
// A compact form of the logo for the music tab, drawn at its shown size (60 x 26).
QPixmap smallLogo();

// Faces and pressed pictures of the picture buttons, each at its button's size.
QPixmap launchFace();
QPixmap launchPressed();
QPixmap chooseGameFace();
QPixmap chooseGamePressed();
QPixmap okFace();
QPixmap okPressed();
QPixmap cancelFace();
QPixmap cancelPressed();

// The program's icon, at several sizes.
QIcon windowIcon();

}  // namespace velmor::app::artwork
