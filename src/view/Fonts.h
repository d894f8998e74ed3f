#pragma once
// The program names its fonts by the faces of its original platform; they
// are drawn with metric-compatible free faces so that text sizes match the
// layouts.

#include <QFont>
#include <QString>

namespace tarvo {

// "Times New Roman" -> "Liberation Serif"; "Arial" and "MS Shell Dlg" ->
// "Liberation Sans"; other names unchanged.
QString FreeFaceFor(const QString& face);

// A font of the given face at a size in tenths of a point, for a 96 dpi
// target (an 8-point font is 11 pixels high), independent of the target's
// own resolution.
QFont ProgramFont(const QString& face, int pointSizeTenths);

// The 8-point "Times New Roman" used by every overlay of the map view.
QFont OverlayFont();

} // namespace tarvo
