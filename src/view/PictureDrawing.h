#pragma once
// Drawing of the map picture (the decoded bitmap file held by CPicture) on a
// QPainter: the whole image, or the part given by four fractions, always
// upright.

#include "model/Picture.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace tarvo {

// The picture decoded by Qt's image reader. Decoding happens once per
// distinct image: the last decoded image is kept with a copy of its bytes
// and reused while the bytes are the same. Thread-safe. A null image when
// nothing is loaded or the bytes do not decode.
QImage DecodedPicture(const CPicture& picture);

// Stretches the whole picture into dest. False (and nothing drawn) without
// a decodable picture.
bool DrawPicture(QPainter& painter, const CPicture& picture, const QRect& dest);

// Stretches part of the picture into dest: x0..x1 of its width measured
// from the left edge and y0..y1 of its height measured from the bottom edge,
// each 0..1 (y0 = 0.5, y1 = 1 is the upper half).
bool DrawPicturePart(QPainter& painter, const CPicture& picture, const QRect& dest, double x0,
                     double x1, double y0, double y1);

} // namespace tarvo
