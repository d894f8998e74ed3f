#pragma once
// State of the control panel and of the map view that a workspace carries.
// Plain records: the GUI binds its widgets to them.

#include <array>
#include <cstdint>
#include <string>

namespace tarvo {

// The report options of the control panel, in workspace order.
struct CReportOptions {
    bool showSsdFiles = true;
    bool showAllFiles = true;
    bool showAccessPoints = true;
    bool showAllAps = true;
    bool showMarkedAps = true;
    bool showInterferenceSources = true;
    bool showSurveyPath = true;
    bool showApCoverage = true;
    bool showApOverlay = true;
    bool showCoverageReliability = true;

    bool operator==(const CReportOptions&) const = default;
};

struct CPanelState {
    std::int32_t page = 0;
    CReportOptions report;
    std::string reportPath;

    bool operator==(const CPanelState&) const = default;
};

// Pointer tools of the map view, in workspace order.
enum PointerTool {
    kToolMeasure,
    kToolZoomIn,
    kToolZoomOut,
    kToolRulerDragging,
    kToolMove,
    kToolInsertAp,
    kToolInsertSource,
    kToolSpare1,
    kToolSpare2,
    kPointerToolCount
};

struct CMapViewState {
    bool showMap = false;
    bool scrollBarsShown = false;
    std::int32_t verticalScroll = 0;   // 0..1000
    std::int32_t horizontalScroll = 0; // 0..1000
    std::int32_t hitKind = 1;
    std::int32_t hitIndex = -1;
    std::array<std::uint8_t, kPointerToolCount> tools{};
    bool compassShown = false;

    // Size of the drawing area in pixels, kept up to date by the window;
    // used where an operation is given no size of its own. Not saved.
    std::int32_t clientWidth = 800;
    std::int32_t clientHeight = 600;

    // Visible fraction of the ViewWindow; may pass [0, 1] when zoomed out.
    double zoomLeft = 0.0;
    double zoomRight = 1.0;
    double zoomBottom = 0.0;
    double zoomTop = 1.0;
    double zoomWidth = 1.0;
    double zoomHeight = 1.0;

    // Shows the whole ViewWindow again.
    void ResetZoom() {
        zoomLeft = 0.0;
        zoomRight = 1.0;
        zoomBottom = 0.0;
        zoomTop = 1.0;
        zoomWidth = 1.0;
        zoomHeight = 1.0;
    }

    bool operator==(const CMapViewState&) const = default;
};

} // namespace tarvo
