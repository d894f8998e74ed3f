#pragma once
// The information window's text for the pointer's place (position, the
// walk point under it, marked APs and interference sources near it, and one
// line per selected AP with its value there), and where the window's
// balloon goes beside the pointer.

#include "model/Document.h"
#include "model/UiServices.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <string>

namespace tarvo {

// The text for pixel p of a wc x hc client area. Lines end in "\n".
std::string InfoWindowText(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc, IUiServices& ui);

// The corner of the balloon's window that points at the pointer.
enum class BalloonCorner { TopLeft, TopRight, BottomLeft, BottomRight };

// Sizes of the balloon around its text, in pixels.
constexpr int kBalloonInset = 10; // text inside the outline
constexpr int kBalloonGap = 10;   // pointer to the outline's corner
constexpr int kBalloonShadow = 5; // shadow offset right and down
constexpr int kBalloonRadius = 5; // corner ellipse 10 x 10

struct CBalloonGeometry {
    QRect window; // in client pixels
    QRect body;   // the outlined box, in window pixels
    QPoint tip;   // the pointer, in window pixels
    BalloonCorner corner = BalloonCorner::TopLeft;
};

// Places a balloon for text of textSize beside the pointer inside a client
// area: right of and below the pointer where it fits, else left and/or
// above; where neither side fits, on the side with more room.
CBalloonGeometry PlaceBalloon(QSize textSize, QPoint pointer, QSize client);

} // namespace tarvo
