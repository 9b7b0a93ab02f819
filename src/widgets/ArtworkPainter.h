#pragma once

#include <QPixmap>

// How the program's own pictures are drawn. The build runs this once and stores the results as
// images inside the program, so that start-up only decodes them. Pictures meant to be stretched
// are drawn larger than their boxes so that they stay sharp.
namespace velmor::widgets::artwork::painter {

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

// The program's icon, square, `side` pixels wide.
QPixmap icon(int side);

// The shell's pictures of the program's files, square, `side` pixels wide: a page with a list
// for playlists, a page with a note for music files (SPC songs and save states).
QPixmap playlistIcon(int side);
QPixmap musicIcon(int side);

}  // namespace velmor::widgets::artwork::painter
