#include "mapview/MapViewCommands.h"

#include "export/KmlExport.h"
#include "export/Snapshot.h"
#include "export/TableOutput.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "view/ViewGeometry.h"

#include <QAction>

#include <ctime>

namespace tarvo {

namespace {

struct CCommandSpec {
    ViewCommand id;
    const char* name;
    const char* prompt; // tool tip and status-bar prompt
    bool checkable;
};

// In the order of ViewCommand.
constexpr CCommandSpec kCommands[] = {
    {ViewCommand::MeasureDistance, "measureDistance", "Measure distance", true},
    {ViewCommand::ZoomIn, "zoomIn", "Zoom in the figure", true},
    {ViewCommand::ZoomOut, "zoomOut", "Zoom out the figure", true},
    {ViewCommand::FitInWindow, "fitInWindow", "Fit in the window", false},
    {ViewCommand::FitInMap, "fitInMap", "Fit in the map", false},
    {ViewCommand::ShowLegend, "showLegend", "Show legend", true},
    {ViewCommand::ShowInfoWindow, "showInfoWindow", "Show information window", true},
    {ViewCommand::ShowCompass, "showCompass", "", true},
    {ViewCommand::InsertAp, "insertAp", "Insert an access point", true},
    {ViewCommand::InsertInterference, "insertInterference", "Insert an interference source", true},
    {ViewCommand::MoveResource, "moveResource", "Move a resource (AP or interference)", true},
    {ViewCommand::ShowMap, "showMap", "Show map on the screen", true},
    {ViewCommand::CreateKml, "createKml", "Create a KML file", false},
    {ViewCommand::TakeSnapshot, "takeSnapshot", "Take a snapshot", false},
    {ViewCommand::OutputTable, "outputTable", "Output a table ", false},
};
static_assert(std::size(kCommands) == static_cast<std::size_t>(ViewCommand::Count));

// The pointer modes, of which at most one is on.
constexpr int kModes[] = {kToolMeasure, kToolZoomIn,   kToolZoomOut,
                          kToolMove,    kToolInsertAp, kToolInsertSource};

} // namespace

CMapViewCommands::CMapViewCommands(CDocumentHost& host, CTarvoAnalyzerView& view, QObject* parent)
    : QObject(parent), host_(host), view_(view) {
    for (const CCommandSpec& command : kCommands) {
        const QString prompt = QString::fromLatin1(command.prompt);
        auto* action = new QAction(prompt, this);
        action->setObjectName(QString::fromLatin1(command.name));
        action->setToolTip(prompt);
        action->setStatusTip(prompt);
        action->setCheckable(command.checkable);
        const ViewCommand id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { Run(id); });
        actions_[static_cast<int>(id)] = action;
    }
    connect(&host_, &CDocumentHost::documentChanged, this, &CMapViewCommands::RefreshState);
    connect(&host_, &CDocumentHost::busyChanged, this, &CMapViewCommands::RefreshState);
    RefreshState();
}

QAction* CMapViewCommands::Action(ViewCommand command) const {
    return actions_[static_cast<int>(command)];
}

void CMapViewCommands::RefreshState() {
    // While a worker holds the document: every command off, the checks as
    // they were when it started.
    const CDocumentState doc = host_.state();
    const bool idle = !host_.isBusy();
    const bool data = doc.processed;
    const bool map = doc.mapLoaded;
    const bool shown = doc.view.showMap;
    const auto& tools = doc.view.tools;
    auto set = [&](ViewCommand id, bool enabled, bool checked = false) {
        QAction* action = Action(id);
        action->setEnabled(idle && enabled);
        if (action->isCheckable())
            action->setChecked(checked);
    };
    set(ViewCommand::MeasureDistance, data || shown, tools[kToolMeasure]);
    set(ViewCommand::ZoomIn, data || shown, tools[kToolZoomIn]);
    set(ViewCommand::ZoomOut, data || map, tools[kToolZoomOut]);
    set(ViewCommand::FitInWindow, data || map);
    set(ViewCommand::FitInMap, data || map);
    set(ViewCommand::ShowLegend, data, doc.legendShown);
    set(ViewCommand::ShowInfoWindow, data, doc.infoWindowShown);
    set(ViewCommand::ShowCompass, shown && doc.projectionKind == kProjectionGps,
        doc.view.compassShown);
    set(ViewCommand::InsertAp, shown || data, tools[kToolInsertAp]);
    set(ViewCommand::InsertInterference, shown || data, tools[kToolInsertSource]);
    set(ViewCommand::MoveResource, shown || data, tools[kToolMove]);
    set(ViewCommand::ShowMap, map, shown);
    set(ViewCommand::CreateKml, data && !shown && doc.gpsPointsPresent);
    set(ViewCommand::TakeSnapshot, data || shown);
    set(ViewCommand::OutputTable, data && shown);
}

void CMapViewCommands::ToggleMode(int tool, bool allowed) {
    if (!allowed)
        return;
    auto& tools = host_.doc().view.tools;
    const bool on = !tools[tool];
    for (int mode : kModes)
        tools[mode] = 0;
    tools[tool] = on ? 1 : 0;
    view_.UpdatePointerShape();
}

void CMapViewCommands::Run(ViewCommand command) {
    if (host_.isBusy()) {
        RefreshState();
        return;
    }
    // A resource lifted by a drag goes back first: the commands work on the
    // study itself (a snapshot or KML file never shows it lifted away).
    host_.settle();
    CTarvoAnalyzerDoc& doc = host_.doc();
    const QSize client = view_.ClientSize();
    const int wc = client.width(), hc = client.height();
    switch (command) {
    case ViewCommand::MeasureDistance:
        ToggleMode(kToolMeasure, true);
        break;
    case ViewCommand::ZoomIn:
        ToggleMode(kToolZoomIn, doc.processed || doc.mapLoaded);
        break;
    case ViewCommand::ZoomOut:
        ToggleMode(kToolZoomOut, doc.processed || doc.mapLoaded);
        break;
    case ViewCommand::FitInWindow:
        FitInWindow(doc, wc, hc);
        host_.notify(kChangeView);
        break;
    case ViewCommand::FitInMap:
        FitExtentToMap(doc, wc, hc);
        host_.notify(kChangeView);
        break;
    case ViewCommand::ShowLegend:
    case ViewCommand::ShowInfoWindow:
        if (doc.processed) {
            bool& flag = command == ViewCommand::ShowLegend ? doc.legendShown : doc.infoWindowShown;
            flag = !flag;
            host_.setModified(true);
            host_.notify(kChangeView);
        }
        break;
    case ViewCommand::ShowCompass:
        // Drawn over the picture on every frame: nothing to render again.
        doc.view.compassShown = !doc.view.compassShown;
        view_.RefreshFrame();
        break;
    case ViewCommand::InsertAp:
        ToggleMode(kToolInsertAp, doc.view.showMap);
        break;
    case ViewCommand::InsertInterference:
        ToggleMode(kToolInsertSource, doc.view.showMap);
        break;
    case ViewCommand::MoveResource:
        ToggleMode(kToolMove, doc.view.showMap);
        break;
    case ViewCommand::ShowMap:
        if (ToggleShowMap(doc, wc, hc, host_.ui())) {
            host_.setModified(true);
            host_.notify(kChangeView);
        }
        break;
    case ViewCommand::CreateKml: {
        view_.SyncLastViewBitmap();
        const std::string previousPath = doc.spareText1;
        CreateKmlFile(
            doc, host_.ui(),
            [this]() -> std::optional<std::string> {
                std::string description;
                if (host_.dialogs().EditKmlDescription(description))
                    return description;
                return std::nullopt;
            },
            std::time(nullptr));
        if (doc.spareText1 != previousPath)
            host_.setModified(true); // the workspace keeps the last KML path
        break;
    }
    case ViewCommand::TakeSnapshot:
        view_.SyncLastViewBitmap();
        TakeSnapshot(doc, host_.ui());
        break;
    case ViewCommand::OutputTable:
        OutputTable();
        break;
    case ViewCommand::Count:
        break;
    }
    RefreshState();
}

void CMapViewCommands::OutputTable() {
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (!doc.processed) {
        WriteTable(doc, std::nullopt, host_.ui()); // "Please load a SSD file."
        return;
    }
    CTableOptions options;
    if (!host_.dialogs().EditTableOptions(options))
        return;
    IUiServices* ui = &host_.ui();
    host_.runWorker([&doc, options, ui] { WriteTable(doc, options, *ui); },
                    [ui](WorkerStatus status, const std::string& error) {
                        if (status == WorkerStatus::Failed)
                            ui->MessageBox(error, "Output a table", MsgIcon::Error);
                    });
}

} // namespace tarvo
