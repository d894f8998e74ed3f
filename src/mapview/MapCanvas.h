#pragma once
// What the pointer tools need from the window they work on, so that they
// stay small objects that know nothing of scroll bars, caching or frames.

#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

namespace tarvo {

class IMapCanvas {
public:
    virtual ~IMapCanvas() = default;

    // The drawing area in logical pixels: the size SiteToClient and
    // ClientToSite are given, and the area "in view" refers to.
    virtual QSize ClientSize() const = 0;
    // The widget the pointer works on (global positions, popups, capture).
    virtual QWidget* CanvasWidget() = 0;
    // Text of status-bar pane 1..5; an empty text gives the pane no room.
    virtual void SetStatusText(int pane, const QString& text) = 0;
    // Repaints the tool's overlay over the unchanged picture.
    virtual void RepaintOverlay() = 0;
    // The document changed under the tool: render the picture again.
    virtual void RerenderPicture() = 0;
    // The last rendered picture of the study: ClientSize() logical pixels
    // at the screen's device pixel ratio.
    virtual const QImage& Picture() const = 0;
};

} // namespace tarvo
