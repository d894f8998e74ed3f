#include "panel/PanelLayout.h"

#include <algorithm>
#include <array>

namespace tarvo {

namespace {

using K = ButtonKind;

// clang-format off
constexpr std::array kCommands = {
    // The top strip: the two check buttons take the size of their picture.
    CPanelCommand{kIdSelectMetric, "Select Metric", K::Check, kPageStrip, "Select meter or feet", "metric", 1, 1, 0, 32, 32},
    CPanelCommand{kIdGridLines, "Grid Lines", K::Check, kPageStrip, "Select grid lines", "grid_lines", 33, 1, 0, 32, 32},
    CPanelCommand{kIdIncreaseGrid, "Increase Grid Lines", K::Push, kPageStrip, "Increase grid lines", "grid_more", 65, 1, 0, 96, 16},
    CPanelCommand{kIdDecreaseGrid, "Decrease Grid Lines", K::Push, kPageStrip, "Decrease grid lines", "grid_fewer", 65, 17, 0, 96, 16},
    // Data Study
    CPanelCommand{kIdWalkPath, "Walk Path", K::Check, kPageDataStudy, "Show survey path", "walk_path", 10, 66, 0, 32, 32},
    CPanelCommand{kIdPathWidth, "Path Width", K::Push, kPageDataStudy, "Change path width", "path_width_1", 42, 66, 0, 32, 32},
    CPanelCommand{kIdBadGps, "Show Data without Good GPS", K::Check, kPageDataStudy, "Show data with bad GPS", "bad_gps", 74, 66, 0, 32, 32},
    CPanelCommand{kIdCoordinates, "GPS or Lin Coordinates", K::Check, kPageDataStudy, "Switch coordinates between X/Y and Lat/Lon", "coordinates", 106, 66, 0, 32, 32},
    CPanelCommand{kIdSortAps, "Sort AP in SSID or Chan", K::Check, kPageDataStudy, "Sort AP by SSID or Channel", "sort_aps", 138, 66, 0, 32, 32},
    CPanelCommand{kIdAllAps, "Only Selected APs or All APs", K::Check, kPageDataStudy, "Show selected or all AP(s)", "all_aps", 170, 66, 0, 32, 32},
    CPanelCommand{kIdShowAps, "Show Access Point", K::Check, kPageDataStudy, "Show AP(s)", "show_aps", 10, 99, 0, 32, 32},
    CPanelCommand{kIdShowInterference, "Show Interference Source", K::Check, kPageDataStudy, "Show Interference Source(s)", "show_sources", 42, 99, 0, 32, 32},
    CPanelCommand{kIdShowMarked, "Show Marked AP", K::Check, kPageDataStudy, "Show manually marked AP(s)", "show_marked", 74, 99, 0, 32, 32},
    CPanelCommand{kIdDeleteAp, "Delete AP", K::Push, kPageDataStudy, "Delete an AP", "delete_ap", 106, 99, 0, 32, 32},
    CPanelCommand{kIdPlotGraph, "Plot Graph", K::Push, kPageDataStudy, "Single or multiple APs coverage analysis", "plot_graph", 138, 99, 0, 32, 32},
    CPanelCommand{kIdColorWalkPath, "Show Color Walk Path", K::Check, kPageDataStudy, "Show survey RSSI", "color_walk", 10, 184, 20, 32, 32},
    CPanelCommand{kIdReliability, "AP Reliability Analysis", K::Check, kPageDataStudy, "Show coverage reliability", "reliability", 42, 184, 20, 32, 32},
    CPanelCommand{kIdApCoverage, "AP Coverage Analysis", K::Check, kPageDataStudy, "Show RF coverage", "ap_coverage", 74, 184, 20, 32, 32},
    CPanelCommand{kIdPlotCoverage, "Plot Coverage Analysis", K::Check, kPageDataStudy, "Show color-coded RF coverage", "strength_bands", 106, 184, 20, 32, 32},
    CPanelCommand{kIdPlotOverlay, "Plot Overlay Analysis", K::Check, kPageDataStudy, "Show coverage overlay", "overlay", 138, 184, 20, 32, 32},
    // Files
    CPanelCommand{kIdOpenGpf, "Open GPF Files", K::Push, kPageFiles, "Load a map", "open_map", 10, 66, 0, 32, 32},
    CPanelCommand{kIdOpenSsd, "Open SSD Files", K::Push, kPageFiles, "Select a file", "open_ssd", 42, 66, 0, 32, 32},
    CPanelCommand{kIdDeleteFiles, "Delete Files", K::Push, kPageFiles, "Delete selected file(s)", "delete_files", 74, 66, 0, 32, 32},
    CPanelCommand{kIdDataMerge, "Data Merge", K::Check, kPageFiles, "Merge data in the files", "data_merge", 106, 66, 0, 32, 32},
    CPanelCommand{kIdProcessFiles, "Process Files", K::Push, kPageFiles, "Process data", "process_files", 138, 66, 0, 32, 32},
    // Reports
    CPanelCommand{kIdReportSsdFiles, "Show SSD Files", K::ReportBox, kPageReports, nullptr, nullptr, 20, 78, 0, 180, 20},
    CPanelCommand{kIdReportAllFiles, "Show All Files", K::ReportBox, kPageReports, nullptr, nullptr, 40, 100, 0, 160, 20},
    CPanelCommand{kIdReportAccessPoints, "Show Access Points", K::ReportBox, kPageReports, nullptr, nullptr, 20, 122, 0, 180, 20},
    CPanelCommand{kIdReportAllAps, "Show All APs", K::ReportBox, kPageReports, nullptr, nullptr, 40, 144, 0, 160, 20},
    CPanelCommand{kIdReportMarked, "Show Marked AP", K::ReportBox, kPageReports, nullptr, nullptr, 20, 166, 0, 180, 20},
    CPanelCommand{kIdReportSources, "Show Interference Sources", K::ReportBox, kPageReports, nullptr, nullptr, 20, 188, 0, 180, 20},
    CPanelCommand{kIdReportPath, "Show Survey Path", K::ReportBox, kPageReports, nullptr, nullptr, 20, 210, 0, 180, 20},
    CPanelCommand{kIdReportReliability, "Show Coverage Reliability", K::ReportBox, kPageReports, nullptr, nullptr, 20, 232, 0, 180, 20},
    CPanelCommand{kIdReportCoverage, "Show AP Coverage", K::ReportBox, kPageReports, nullptr, nullptr, 20, 254, 0, 180, 20},
    CPanelCommand{kIdReportOverlay, "Show AP Overlay", K::ReportBox, kPageReports, nullptr, nullptr, 20, 276, 0, 180, 20},
    CPanelCommand{kIdGenerateReport, "Genereate Report", K::Push, kPageReports, nullptr, "report", 90, 298, 0, 32, 32},
};
// clang-format on

} // namespace

std::span<const CPanelCommand> PanelCommands() {
    return kCommands;
}

const CPanelCommand* FindPanelCommand(int id) {
    for (const CPanelCommand& c : kCommands)
        if (c.id == id)
            return &c;
    return nullptr;
}

int ApRowsForLayout(int apCount) {
    return std::clamp(apCount, 2, 6);
}

QRect CommandRect(const CPanelCommand& command, int apRows) {
    return {command.x, command.y + command.yPerAp * apRows, command.w, command.h};
}

QRect TabRect(int panelWidth, int panelHeight) {
    return {1, 34, std::max(0, panelWidth - 2), std::max(0, panelHeight - 35)};
}

QRect FileListRect(int panelWidth) {
    return {10, 102, std::max(0, panelWidth - 35), 120};
}

QRect ApTreeRect(int apRows) {
    return {10, 134, 195, 20 * apRows + 45};
}

QRect PowerRangeRect(int apRows) {
    return {10, 20 * apRows + 217, 200, 32};
}

QRect OpacityRect(int apRows) {
    return {10, 20 * apRows + 251, 100, 24};
}

QRect ResolutionRect(int apRows) {
    return {113, 20 * apRows + 251, 100, 24};
}

} // namespace tarvo
