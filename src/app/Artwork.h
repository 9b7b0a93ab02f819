#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn when the program is built (ArtworkPainter.h) and stored
// inside it, so that they look the same wherever it runs and cost start-up no drawing.
namespace velmor::app::artwork {

// The product logo: the VELMOR wordmark on a dark field, at the splash's size.
QPixmap productLogo();
// The same logo at the size of the main window's corner.
QPixmap windowLogo();
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
