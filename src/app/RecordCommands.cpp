#include "app/RecordCommands.h"

#include "formats/FilePaths.h"
#include "import/ImportFields.h"
#include "import/ImportFiles.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "model/Text.h"
#include "panel/PanelCommands.h"
#include "panel/StudyRunner.h"
#include "record/IwScanSource.h"
#include "record/ReplayScanSource.h"
#include "record/ThroughputCsv.h"
#include "record/WirelessInterfaces.h"
#include "view/ViewGeometry.h"

#include <QAction>

#include <cctype>
#include <cmath>
#include <ctime>
#include <filesystem>

namespace tarvo {

namespace {

constexpr const char* kTitle = "Record Walk";
constexpr const char* kSurveyFilter = "Tarvo Site Survey File (*.ssd)|*.ssd||";
constexpr const char* kEndText = "&End the Recorded Walk";
constexpr int kThroughputPane = 5;

// A message of the engine ("the replay folder ... holds no scan files") as
// a sentence for a message box.
std::string Sentence(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (!text.empty() && text.back() != '.')
        text += '.';
    return text;
}

std::string DefaultWalkPath(const std::string& planPath) {
    const std::filesystem::path folder = std::filesystem::path(planPath).parent_path();
    return (folder / "walk.ssd").string();
}

std::string Megabits(const std::optional<double>& bps) {
    return bps ? Format("%.1f Mbit/s", *bps / 1e6) : std::string("-");
}

} // namespace

struct CRecordCommands::CScanJob {
    std::shared_ptr<IScanSource> source;
    int scans = 1;
    std::optional<CIperfOptions> iperf;
    // Filled on the worker.
    std::vector<CScan> taken;
    std::string error;
    std::optional<CThroughputResult> throughput;

    void Run() {
        for (int i = 0; i < scans; ++i) {
            CScanOutcome outcome = source->Scan();
            if (!outcome.scan) {
                error = outcome.error;
                return;
            }
            taken.push_back(std::move(*outcome.scan));
        }
        if (iperf)
            throughput = MeasureThroughput(*iperf);
    }
};

CRecordCommands::CRecordCommands(CDocumentHost& host, CTarvoAnalyzerView& mapView,
                                 QAction* recordWalk, QAction* undo, QObject* parent)
    : QObject(parent), host_(host), mapView_(mapView),
      runner_(std::make_unique<CStudyRunner>(host)), recordWalk_(recordWalk), undo_(undo),
      recordText_(recordWalk->text()) {
    connect(recordWalk_, &QAction::triggered, this, &CRecordCommands::RecordWalk);
    connect(undo_, &QAction::triggered, this, &CRecordCommands::Undo);
    connect(&host_, &CDocumentHost::busyChanged, this,
            [this](bool busy) { recordWalk_->setEnabled(!busy); });
    connect(&host_, &CDocumentHost::documentChanged, this, &CRecordCommands::OnDocumentChanged);
}

CRecordCommands::~CRecordCommands() = default;

void CRecordCommands::Say(const std::string& text, const char* title, MsgIcon icon) {
    host_.ui().MessageBox(text, title, icon);
}

void CRecordCommands::RecordWalk() {
    if (host_.isBusy())
        return;
    if (Recording()) {
        End();
        return;
    }
    if (!Prepare())
        return;
    recordWalk_->setText(QString::fromLatin1(kEndText));
    undo_->setEnabled(true);
    dots_.clear();
    throughputFailed_ = false;
    mapView_.StartRecording([this](QPoint client) { OnClick(client); }, [this] { End(); });
    Show();
}

bool CRecordCommands::Prepare() {
    IUiServices& ui = host_.ui();
    CTarvoAnalyzerDoc& doc = host_.doc();
    const std::optional<CImportPlan> plan = doc.mapLoaded ? PlanOfStudy(doc) : std::nullopt;
    if (!plan) {
        ui.MessageBox("Please open the floor plan of the walk first (Open GPF Files), or make one "
                      "with File > New Floor Plan from Image.",
                      "No Floor Plan", MsgIcon::Error);
        return false;
    }
    CRecordWalkText fields = lastFields_;
    fields.interfaces = ListWirelessInterfaces();
    if (fields.source.empty() && fields.replayFolder.empty() && !fields.interfaces.empty())
        fields.source = fields.interfaces.front();
    std::shared_ptr<IScanSource> source;
    std::optional<CIperfOptions> iperf;
    while (!source) {
        if (!host_.dialogs().EditRecordWalk(fields))
            return false;
        lastFields_ = fields;
        iperf.reset();
        const std::string server(TrimBlanks(fields.iperfServer));
        if (!server.empty()) {
            if (plan->gps) {
                ui.MessageBox("The throughput is measured on floor plans only: its side file keeps "
                              "positions in the plan's metres. Leave the server empty to record "
                              "the walk on this map.",
                              kTitle, MsgIcon::Error);
                continue;
            }
            if (const std::string missing = CheckIperf(); !missing.empty())
                ui.MessageBox(Sentence(missing) + " The walk is recorded without it.", kTitle,
                              MsgIcon::Information);
            else
                iperf = CIperfOptions{server};
        }
        if (!fields.source.empty()) {
            source = std::make_shared<CIwScanSource>(fields.source);
            continue;
        }
        const std::string folder(TrimBlanks(fields.replayFolder));
        if (folder.empty()) {
            ui.MessageBox("Please choose a wireless adapter, or name the folder of saved scans to "
                          "replay.",
                          kTitle, MsgIcon::Error);
            continue;
        }
        auto replay = std::make_shared<CReplayScanSource>(folder);
        if (!replay->Error().empty()) {
            ui.MessageBox(Sentence(replay->Error()), kTitle, MsgIcon::Error);
            continue;
        }
        source = std::move(replay);
    }
    const auto path = ui.ChooseSaveFile(kSurveyFilter, "Save the recorded walk",
                                        DefaultWalkPath(doc.projectionPath));
    if (!path || path->empty())
        return false;
    if (SameFile(*path, doc.projectionPath)) {
        ui.MessageBox("The walk cannot replace its floor plan. Please choose another name.",
                      "File Save Error", MsgIcon::Error);
        return false;
    }
    session_ =
        std::make_unique<CRecordSession>(*plan, static_cast<std::int64_t>(std::time(nullptr)));
    source_ = std::move(source);
    iperf_ = iperf;
    scansPerPoint_ = fields.scansPerPoint;
    walkPath_ = *path;
    planPath_ = doc.projectionPath;
    return true;
}

void CRecordCommands::Show(std::optional<CRecordDot> scanning) {
    mapView_.ShowRecording(dots_, std::move(scanning));
}

void CRecordCommands::OnClick(QPoint client) {
    if (!Recording() || host_.isBusy() || scanning_)
        return;
    const CTarvoAnalyzerDoc& doc = host_.doc();
    const QSize size = mapView_.ClientSize();
    double x = 0.0, y = 0.0;
    ClientToSite(VisibleRect(doc), client.x(), client.y(), size.width(), size.height(), x, y);
    // The map picture spans site X 0..MapExtentWidth and Y 0..MapExtentHeight,
    // its top row at the top: the map pixel under the click.
    CRecordPosition at;
    at.frame = ImportFrame::Pixels;
    at.first = x * doc.ImageWidth / doc.MapExtentWidth;
    at.second = doc.ImageHeight - y * doc.ImageHeight / doc.MapExtentHeight;
    if (!std::isfinite(at.first) || !std::isfinite(at.second)) {
        Say("This point cannot be placed on the plan.", "Invalid Point", MsgIcon::Error);
        return;
    }
    const CRecordSession::CPlaced placed = session_->Place(at);
    if (!placed.refusal.empty()) {
        Say(Sentence(placed.refusal), "Invalid Point", MsgIcon::Error);
        return;
    }
    // Floor-plan points are drawn where processing will place them; on a
    // GPS map where the user clicked.
    CRecordDot dot;
    dot.x = session_->Gps() ? x : placed.point.siteX;
    dot.y = session_->Gps() ? y : placed.point.siteY;
    auto job = std::make_shared<CScanJob>();
    job->source = source_;
    job->scans = scansPerPoint_;
    job->iperf = iperf_;
    // Placed on the map while the document is free; drawn from there while
    // the worker holds it.
    Show(dot);
    const bool started =
        host_.runWorker([job] { job->Run(); },
                        [this, job, at, dot](WorkerStatus status, const std::string& error) {
                            scanning_ = false;
                            if (status != WorkerStatus::Completed && job->error.empty())
                                job->error = error.empty() ? "the scan was stopped" : error;
                            OnScanned(*job, at, dot);
                        });
    if (!started) {
        Show();
        return;
    }
    scanning_ = true;
}

void CRecordCommands::OnScanned(const CScanJob& job, const CRecordPosition& at,
                                const CRecordDot& dot) {
    if (!Recording())
        return;
    if (!job.error.empty()) {
        Show();
        Say(Sentence(job.error) + " The point is not recorded.", "Scan Error", MsgIcon::Error);
        return;
    }
    for (const CScan& scan : job.taken)
        if (!scan.note.empty())
            Say(Sentence(scan.note), kTitle, MsgIcon::Information);
    const CAddOutcome added = session_->Add(at, job.taken, job.throughput);
    if (!added.refusal.empty()) {
        Show();
        Say(Sentence(added.refusal), "Invalid Point", MsgIcon::Error);
        return;
    }
    if (const std::string error = SaveRecording(*session_, walkPath_, iperf_.has_value());
        !error.empty()) {
        session_->Undo();
        Show();
        Say(error + "\nThe point is not recorded; the file holds the points before it.",
            "File Save Error", MsgIcon::Error);
        return;
    }
    CRecordDot recorded = dot;
    recorded.strongestDbm = session_->Points().back().strongestDbm;
    dots_.push_back(recorded);
    Show();
    if (job.throughput) {
        const std::string failure = job.throughput->ErrorText();
        mapView_.SetStatusText(kThroughputPane,
                               QString::fromStdString("Throughput: down " +
                                                      Megabits(job.throughput->down.bitsPerSecond) +
                                                      ", up " +
                                                      Megabits(job.throughput->up.bitsPerSecond)));
        if (!failure.empty() && !throughputFailed_) {
            throughputFailed_ = true;
            Say("The throughput could not be measured here (" + failure +
                    "). The point is recorded without it.",
                "Throughput", MsgIcon::Warning);
        }
    }
}

void CRecordCommands::Undo() {
    if (!Recording() || host_.isBusy() || scanning_ || !session_->Undo())
        return;
    if (const std::string error = SaveRecording(*session_, walkPath_, iperf_.has_value());
        !error.empty())
        Say(error, "File Save Error", MsgIcon::Error);
    if (!dots_.empty())
        dots_.pop_back();
    Show();
}

void CRecordCommands::Stop() {
    mapView_.StopRecording();
    mapView_.SetStatusText(kThroughputPane, QString());
    recordWalk_->setText(recordText_);
    undo_->setEnabled(false);
    session_.reset();
    source_.reset();
    iperf_.reset();
    dots_.clear();
}

void CRecordCommands::End() {
    if (!Recording() || host_.isBusy() || scanning_)
        return;
    const std::size_t points = session_->Count();
    const std::string path = walkPath_;
    Stop();
    if (points == 0)
        return; // nothing to list: a walk taken back to its start
    // Listed as "Open SSD Files" lists a survey; a walk recorded again over
    // a listed file is listed once.
    CTarvoAnalyzerDoc& doc = host_.doc();
    bool listed = false;
    for (const CDataFile& file : doc.files)
        listed = listed || file.path == path;
    if (!listed) {
        CDataFile file;
        file.title = FileNameOf(path);
        file.path = path;
        file.selected = 1;
        doc.files.Add(std::move(file));
    }
    doc.processed = false;
    host_.setModified(true);
    host_.notify(kChangeFiles | kChangeView);
    const std::string question =
        Format("The walk \"%s\" holds %zu %s and is in the file list. Process Files now?",
               FileNameOf(path).c_str(), points, points == 1 ? "point" : "points");
    if (host_.ui().MessageBox(question, kTitle, MsgIcon::Question, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    unsigned changed = 0;
    const bool load = PrepareProcessing(host_.doc(), host_.ui(), changed);
    if (changed) {
        host_.setModified(true);
        host_.notify(changed);
    }
    if (load)
        runner_->Load([this](LoadOutcome outcome) {
            CTarvoAnalyzerDoc& loaded = host_.doc();
            if (outcome != LoadOutcome::Loaded)
                return;
            if (loaded.linearPointsPresent && !loaded.gpsPointsPresent)
                loaded.linearCoordinates = true;
            // The walk just recorded stays on the map, as "Walk Path" shows it.
            loaded.pathShown = true;
        });
}

void CRecordCommands::OnDocumentChanged(unsigned what) {
    if (!Recording() || host_.isBusy())
        return;
    const CTarvoAnalyzerDoc& doc = host_.doc();
    // Another study, or another map: the walk's plan is gone from the view.
    if (what == kChangeStudy || !doc.mapLoaded || doc.projectionPath != planPath_) {
        const std::string path = walkPath_;
        const std::size_t points = session_->Count();
        Stop();
        if (points > 0)
            Say(Format("The map changed, so the recorded walk has ended. Its %zu %s saved in "
                       "\"%s\".",
                       points, points == 1 ? "point is" : "points are", path.c_str()),
                kTitle, MsgIcon::Information);
        return;
    }
    Show(); // the power range or the view changed: colours and places again
}

} // namespace tarvo
