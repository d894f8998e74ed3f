#pragma once
// The program's 32 x 32 icons by resource id: access-point styles 174-179,
// interference-source styles 180-185, pointer images 186-188.

#include <QImage>

namespace tarvo {

constexpr int kFirstApIcon = 174;
constexpr int kFirstSourceIcon = 180;
constexpr int kIconStyles = 6;
constexpr int kMeasurePointerIcon = 186;
constexpr int kZoomInPointerIcon = 187;
constexpr int kZoomOutPointerIcon = 188;
constexpr int kIconSize = 32;

// The icon image (ARGB, 32 x 32), or a null image for an unknown id.
QImage ProgramIcon(int id);

} // namespace tarvo
