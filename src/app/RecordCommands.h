#pragma once
// "Record Walk..." of the File menu: the walk is recorded on the study's
// plan with this machine's Wi-Fi adapter (or saved scans replayed). The
// dialog chooses the adapter, the scans per point and an optional iperf3
// server; the map view then records a point at every click: the scans (and
// the throughput) run on the document host's worker, the point appears on
// the map, and the survey file is written whole again. Ctrl+Z takes the
// last point back; Esc (or the command again) ends the walk, lists the file
// in the file list and offers "Process Files". GUI thread only.

#include "import/WalkAssembly.h"
#include "mapview/DialogService.h"
#include "mapview/RecordTool.h"
#include "model/UiServices.h"
#include "record/IperfRunner.h"
#include "record/RecordSession.h"
#include "record/ScanSource.h"

#include <QObject>
#include <QPoint>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;

namespace tarvo {

class CDocumentHost;
class CStudyRunner;
class CTarvoAnalyzerView;

class CRecordCommands : public QObject {
    Q_OBJECT

public:
    // recordWalk starts and ends a walk; undo takes back its last point
    // (enabled only while a walk is recorded).
    CRecordCommands(CDocumentHost& host, CTarvoAnalyzerView& mapView, QAction* recordWalk,
                    QAction* undo, QObject* parent = nullptr);
    ~CRecordCommands() override;

    bool Recording() const { return session_ != nullptr; }
    // The walk being recorded (nullptr when none is).
    const CRecordSession* Session() const { return session_.get(); }
    const std::string& WalkPath() const { return walkPath_; }

    void RecordWalk(); // starts a walk, or ends the one being recorded
    void Undo();
    void End();

private:
    // What a scan on the worker is given and gives back.
    struct CScanJob;

    // Asks for the adapter and the output; false when the user gave up.
    bool Prepare();
    void OnClick(QPoint client);
    void OnScanned(const CScanJob& job, const CRecordPosition& at, const CRecordDot& dot);
    void Show(std::optional<CRecordDot> scanning = std::nullopt);
    void OnDocumentChanged(unsigned what);
    void Say(const std::string& text, const char* title, MsgIcon icon);
    void Stop();

    CDocumentHost& host_;
    CTarvoAnalyzerView& mapView_;
    std::unique_ptr<CStudyRunner> runner_;
    QAction* recordWalk_;
    QAction* undo_;
    QString recordText_; // the command's own text, shown again after a walk
    std::unique_ptr<CRecordSession> session_;
    std::shared_ptr<IScanSource> source_;
    std::optional<CIperfOptions> iperf_;
    int scansPerPoint_ = 1;
    std::string walkPath_;
    std::string planPath_; // the projection the walk lies on
    std::vector<CRecordDot> dots_;
    bool scanning_ = false;
    bool throughputFailed_ = false; // its first failure has been shown
    CRecordWalkText lastFields_;
};

} // namespace tarvo
