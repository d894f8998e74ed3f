#include "app/ThroughputCommands.h"

#include "mapview/DocumentHost.h"
#include "model/Text.h"
#include "record/ThroughputFiles.h"

#include <QAction>

#include <algorithm>

namespace tarvo {

namespace {

constexpr const char* kTitle = "Throughput";
constexpr std::size_t kListedProblems = 10;

} // namespace

CThroughputCommands::CThroughputCommands(CDocumentHost& host, QAction* view, QObject* parent)
    : QObject(parent), host_(host), view_(view) {
    connect(view_, &QAction::triggered, this, &CThroughputCommands::Toggle);
    connect(&host_, &CDocumentHost::busyChanged, this, &CThroughputCommands::Refresh);
    connect(&host_, &CDocumentHost::documentChanged, this, [this](unsigned what) {
        if (host_.isBusy())
            return;
        if ((what & kChangeFiles) && host_.doc().coverageDisplayType == kDisplayThroughput)
            Load(false);
        Refresh();
    });
    Refresh();
}

int CThroughputCommands::Load(bool tell) {
    CTarvoAnalyzerDoc& doc = host_.doc();
    const CThroughputLoad load = LoadThroughputFiles(doc);
    doc.throughput = load.points;
    const int measured =
        static_cast<int>(std::count_if(load.points.begin(), load.points.end(),
                                       [](const CThroughputPoint& p) { return p.HasDown(); }));
    if (tell && !load.problems.empty()) {
        std::string text = "Some throughput measurements were left out:\n";
        for (std::size_t i = 0; i < load.problems.size() && i < kListedProblems; ++i)
            text += load.problems[i] + "\n";
        if (load.problems.size() > kListedProblems)
            text += Format("... and %zu more\n", load.problems.size() - kListedProblems);
        host_.ui().MessageBox(text, kTitle, MsgIcon::Warning);
    }
    return measured;
}

void CThroughputCommands::Toggle() {
    if (host_.isBusy() || !host_.doc().processed) {
        Refresh(); // an action that checked itself unchecks again
        return;
    }
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (doc.coverageDisplayType == kDisplayThroughput) {
        doc.coverageDisplayType = kDisplayNone;
    } else {
        if (Load(true) == 0) {
            host_.ui().MessageBox("No throughput was measured along the selected survey files. "
                                  "Record a walk with a throughput server (File > Record Walk...) "
                                  "to measure it.",
                                  kTitle, MsgIcon::Information);
            Refresh();
            return;
        }
        doc.coverageDisplayType = kDisplayThroughput;
    }
    host_.setModified(true);
    host_.notify(kChangeCoverage | kChangeView);
}

void CThroughputCommands::Refresh() {
    // While a worker holds the document the action is off and keeps its check.
    if (host_.isBusy()) {
        view_->setEnabled(false);
        return;
    }
    const CTarvoAnalyzerDoc& doc = host_.doc();
    view_->setChecked(doc.coverageDisplayType == kDisplayThroughput);
    view_->setEnabled(doc.processed);
}

} // namespace tarvo
