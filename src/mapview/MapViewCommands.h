#pragma once
// The map view's commands as actions, shared by the toolbar, the main
// window and the tests: pointer modes, zoom and fit, show map, legend,
// information window and compass toggles, snapshot, KML and table output.
// Each action is enabled and checked from the document's state, refreshed
// whenever the document, the view or the worker's state changes.

#include <QObject>

#include <array>

class QAction;

namespace tarvo {

class CDocumentHost;
class CTarvoAnalyzerView;

enum class ViewCommand {
    MeasureDistance,
    ZoomIn,
    ZoomOut,
    FitInWindow,
    FitInMap,
    ShowLegend,
    ShowInfoWindow,
    ShowCompass,
    InsertAp,
    InsertInterference,
    MoveResource,
    ShowMap,
    CreateKml,
    TakeSnapshot,
    OutputTable,
    Count
};

class CMapViewCommands : public QObject {
    Q_OBJECT

public:
    CMapViewCommands(CDocumentHost& host, CTarvoAnalyzerView& view, QObject* parent);

    // The command's action; its objectName names it for the toolbar's table.
    QAction* Action(ViewCommand command) const;

    // Sets every action's enabled and checked state from the document.
    void RefreshState();

private:
    void Run(ViewCommand command);
    // Turns one pointer mode on or off and every other mode off.
    void ToggleMode(int tool, bool allowed);
    void OutputTable();

    CDocumentHost& host_;
    CTarvoAnalyzerView& view_;
    std::array<QAction*, static_cast<int>(ViewCommand::Count)> actions_{};
};

} // namespace tarvo
