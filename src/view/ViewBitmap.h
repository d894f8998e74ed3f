#pragma once
// Conversion between painted images and the document's toolkit-free copy of
// the last painted view.

#include "model/Document.h"

#include <QImage>

namespace tarvo {

// Opaque RGB copy of image (any format; alpha is dropped).
CViewBitmap ToViewBitmap(const QImage& image);

// The image of a kept bitmap (RGB32), or a null image when it is empty or
// its pixel bytes do not match its size.
QImage FromViewBitmap(const CViewBitmap& bitmap);

} // namespace tarvo
