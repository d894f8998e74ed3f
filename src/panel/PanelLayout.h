#pragma once
// The control panel's command table and geometry: every button with its id,
// kind, page, tool tip, picture and place, and the rectangles of the trees
// and range controls. Rectangles are in logical pixels of the panel's client
// area (Qt scales them with the screen's device pixel ratio).

#include <QRect>

#include <span>

namespace tarvo {

// Control ids; they name the controls (objectName "cmd_0x66" etc.).
enum PanelId : int {
    kIdTab = 0x65,
    kIdSelectMetric = 0x66,
    kIdWalkPath = 0x67,
    kIdPathWidth = 0x68,
    kIdGridLines = 0x69,
    kIdIncreaseGrid = 0x6A,
    kIdDecreaseGrid = 0x6B,
    kIdOpenSsd = 0x6C,
    kIdDeleteFiles = 0x6D,
    kIdProcessFiles = 0x6E,
    kIdDataMerge = 0x6F,
    kIdApTree = 0x70,
    kIdFileList = 0x71,
    kIdOpacity = 0x72,
    kIdPowerRange = 0x73,
    kIdResolution = 0x74,
    kIdShowAps = 0x75,
    kIdBadGps = 0x76,
    kIdCoordinates = 0x77,
    kIdSortAps = 0x78,
    kIdAllAps = 0x79,
    kIdReportAllFiles = 0x12D,
    kIdReportAllAps = 0x12E,
    kIdReportSsdFiles = 0x12F,
    kIdReportAccessPoints = 0x130,
    kIdReportSources = 0x131,
    kIdReportPath = 0x132,
    kIdReportCoverage = 0x133,
    kIdReportOverlay = 0x134,
    kIdGenerateReport = 0x135,
    kIdOpenGpf = 0x136,
    kIdReliability = 0x137,
    kIdPlotGraph = 0x138,
    kIdColorWalkPath = 0x139,
    kIdApCoverage = 0x13A,
    kIdPlotCoverage = 0x13B,
    kIdPlotOverlay = 0x13C,
    kIdShowInterference = 0x13D,
    kIdShowMarked = 0x13F,
    kIdDeleteAp = 0x140,
    kIdReportMarked = 0x141,
    kIdReportReliability = 0x142,
};

enum PanelPage : int { kPageStrip = -1, kPageFiles = 0, kPageDataStudy = 1, kPageReports = 2 };

enum class ButtonKind {
    Check,    // toggles, drawn from a three-frame strip
    Push,     // acts once, a normal/pressed picture pair
    ReportBox // labelled check box of the "Reports" page
};

struct CPanelCommand {
    int id;
    const char* label;
    ButtonKind kind;
    int page;
    const char* toolTip; // nullptr: none
    const char* picture; // resource base name; nullptr for report boxes
    // Place: x, y + yPerAp * n (n = AP rows of the tree, 2..6), w, h.
    int x, y, yPerAp, w, h;
};

// Every button of the panel in creation order.
std::span<const CPanelCommand> PanelCommands();
const CPanelCommand* FindPanelCommand(int id);

// n of the Data Study layout: the number of APs held to 2..6.
int ApRowsForLayout(int apCount);

QRect CommandRect(const CPanelCommand& command, int apRows);
QRect TabRect(int panelWidth, int panelHeight);
QRect FileListRect(int panelWidth);
QRect ApTreeRect(int apRows);
QRect PowerRangeRect(int apRows);
QRect OpacityRect(int apRows);
QRect ResolutionRect(int apRows);

} // namespace tarvo
