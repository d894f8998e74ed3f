#pragma once
// The program's 32 x 32 icons by resource id: access-point styles 174-179,
// interference-source styles 180-185, pointer images 186-188.

#include <QImage>
#include <QPoint>

class QPainter;

namespace tarvo {

constexpr int kFirstApIcon = 174;
constexpr int kFirstSourceIcon = 180;
constexpr int kIconStyles = 6;
constexpr int kMeasurePointerIcon = 186;
constexpr int kZoomInPointerIcon = 187;
constexpr int kZoomOutPointerIcon = 188;
constexpr int kIconSize = 32;

// The icon image (ARGB), or a null image for an unknown id. It is 32 x 32
// logical pixels: for a device pixel ratio above 1 the artwork drawn at
// 64 x 64 with ratio 2, so it stays sharp on a high-density screen.
QImage ProgramIcon(int id, double dpr = 1.0);

// Draws icon `id` with its top-left corner at `at` (logical pixels), in the
// artwork that suits the device pixel ratio of the painter's device. False,
// and nothing drawn, for an unknown id.
bool DrawProgramIcon(QPainter& painter, int id, QPoint at);

} // namespace tarvo
