#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace velmor::pictures {

// Reads the picture in the file named by `path` (its bytes, whatever their encoding), in any
// format Qt can read. A picture larger than `box` is decoded straight to at most the box's size,
// so that a huge one never has to be held whole; one that still needs more memory than the
// image readers allow is refused. A null image when the file holds no picture that can be read.
QImage readPicture(const std::string& path, QSize box);

}  // namespace velmor::pictures
