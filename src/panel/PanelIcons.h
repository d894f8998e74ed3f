#pragma once
// Pictures of the panel: the button strips (program resources drawn at
// twice their logical size, so they stay sharp at a device pixel ratio of
// 2) and the 16 x 16 colour swatches of the trees.

#include "model/Colour.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tarvo {

// The strip ":/tarvo/panel/<name>.png": equal frames side by side. The
// pixmap carries a device pixel ratio of 2, so its logical size is half its
// pixel size. A missing picture gives a null pixmap.
QPixmap PanelStrip(const QString& name);

// Frame `index` of a strip of `frames` equal frames, same pixel ratio.
QPixmap StripFrame(const QPixmap& strip, int frames, int index);

// A solid 16 x 16 swatch of a colour word; the reserved neutral swatch
// (image 0 of the trees) is white in a grey frame.
QIcon SwatchIcon(ColourRef colour);
QIcon NeutralSwatchIcon();

} // namespace tarvo
