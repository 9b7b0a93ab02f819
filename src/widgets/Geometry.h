#pragma once

#include <QRect>

namespace velmor::widgets {

// The window description places everything in twips; at 96 dots per inch 15 twips make one
// pixel. Rounds to the nearest pixel (a fifteenth is never exactly a half, so no tie rule).
constexpr int twips(int value) {
    return value >= 0 ? (value + 7) / 15 : -((-value + 7) / 15);
}

inline QRect twipRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

}  // namespace velmor::widgets
