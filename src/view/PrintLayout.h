#pragma once
// Where a printed page puts the view's picture: fitted to the page in the
// page's own units (printer pixels), 10 units from the top, and framed.

#include <QImage>

class QPainter;

namespace tarvo {

// The picture's box on a page. The longer-fitting axis gets the whole page
// less 20 units; the other follows the picture's aspect less 20 units. A
// picture limited by the page height is centred horizontally, one limited
// by the width starts 10 units from the left. Empty (w or h <= 0) when the
// page or the picture has no size.
struct CPrintBox {
    int x = 0;
    int y = 10;
    int w = 0;
    int h = 0;

    bool IsEmpty() const { return w <= 0 || h <= 0; }
    bool operator==(const CPrintBox&) const = default;
};
CPrintBox PrintBoxFor(int pageWidth, int pageHeight, int pictureWidth, int pictureHeight);

// Draws the picture stretched into its box and a frame along the box's
// edges with the painter's pen. Returns false when nothing could be placed.
bool PaintPrintPage(QPainter& painter, int pageWidth, int pageHeight, const QImage& picture);

} // namespace tarvo
