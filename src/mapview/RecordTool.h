#pragma once
// The recording mode of the map view: while a walk is being recorded each
// left click on the map hands its position to the command that records
// (which scans there on the worker), and the walk grows on the map: the
// recorded points joined in walk order, each a dot in the colour of the
// strongest signal heard there (the AP-sample colours of the power range),
// the point being scanned as a ring. A hint in the lower left says what to
// do; status pane 4 says how many points there are, and "Scanning..."
// while a scan runs. The tool reads the document only while no worker holds
// it; what it draws meanwhile was placed before.

#include "mapview/PointerContext.h"

#include <QCursor>
#include <QPoint>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace tarvo {

// A recorded point in site metres, with the strongest level heard there.
struct CRecordDot {
    double x = 0.0;
    double y = 0.0;
    std::optional<double> strongestDbm; // none: nothing was heard
};

class CRecordTool {
public:
    // A click at a client pixel of the canvas (inside the view).
    using Clicked = std::function<void(QPoint client)>;

    explicit CRecordTool(CPointerContext& context) : ctx_(context) {}

    void Start(Clicked clicked);
    void Stop();
    bool Active() const { return static_cast<bool>(clicked_); }

    // The recorded points, and the one being scanned (none when no scan
    // runs); repaints the overlay and sets status pane 4.
    void Show(std::vector<CRecordDot> dots, std::optional<CRecordDot> scanning);

    // Left button up: a click in view while no worker holds the document.
    void Release(QPoint p);
    void Paint(QPainter& painter);

    // The pointer of the recording mode: a crosshair in a ring.
    static QCursor Cursor();
    // The hint's text.
    static const char* HintText();

private:
    // Client pixels and colours of the dots, placed while the document is free.
    void Place();

    CPointerContext& ctx_;
    Clicked clicked_;
    std::vector<CRecordDot> dots_;
    std::optional<CRecordDot> scanning_;
    std::vector<QPoint> pixels_;  // of dots_, then of scanning_
    std::vector<QColor> colours_; // of dots_
    bool placed_ = false;
};

} // namespace tarvo
