#include "app/ImportCommands.h"

#include "analysis/ProjectionOpen.h"
#include "formats/FileIo.h"
#include "formats/FilePaths.h"
#include "formats/FloorPlanWriter.h"
#include "import/ImportFields.h"
#include "import/ImportFiles.h"
#include "import/PlanScale.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "model/Text.h"
#include "panel/StudyRunner.h"

#include <QAction>

#include <cmath>
#include <ctime>

namespace tarvo {

namespace {

constexpr const char* kPlanFilter = "LPF (*.lpf)|*.lpf||";
constexpr const char* kSurveyFilter = "Tarvo Site Survey File (*.ssd)|*.ssd||";
constexpr const char* kDataFilter = "Survey Data (*.csv;*.txt)|*.csv;*.txt|All Files (*.*)|*.*||";
constexpr const char* kImportTitle = "Import Survey Data";
constexpr const char* kSaveErrorTitle = "File Save Error";
// Refused rows listed in the one message box; the rest are counted.
constexpr std::size_t kListedRefusals = 20;

// The path with the extension of its file name replaced by `extension`.
std::string WithExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

std::string RefusalsText(const std::vector<CImportProblem>& refused) {
    std::string text = refused.size() == 1 ? std::string("1 row was refused:\n")
                                           : Format("%zu rows were refused:\n", refused.size());
    for (std::size_t i = 0; i < refused.size() && i < kListedRefusals; ++i)
        text += refused[i].Text() + "\n";
    if (refused.size() > kListedRefusals)
        text += Format("... and %zu more\n", refused.size() - kListedRefusals);
    return text;
}

bool AnyPlanPosition(const std::vector<CImportRead>& reads) {
    for (const CImportRead& read : reads)
        for (const CImportRow& row : read.rows)
            if (row.frame != ImportFrame::LatLon)
                return true;
    return false;
}

} // namespace

CImportCommands::CImportCommands(CDocumentHost& host, CTarvoAnalyzerView& mapView, QAction* newPlan,
                                 QAction* importSurvey, QObject* parent)
    : QObject(parent), host_(host), mapView_(mapView),
      runner_(std::make_unique<CStudyRunner>(host)), newPlan_(newPlan),
      importSurvey_(importSurvey) {
    connect(newPlan_, &QAction::triggered, this, &CImportCommands::NewPlanFromImage);
    connect(importSurvey_, &QAction::triggered, this, &CImportCommands::ImportSurveyData);
    connect(&host_, &CDocumentHost::busyChanged, this, [this](bool busy) {
        newPlan_->setEnabled(!busy);
        importSurvey_->setEnabled(!busy);
    });
}

CImportCommands::~CImportCommands() = default;

void CImportCommands::NewPlanFromImage() {
    if (host_.isBusy())
        return;
    IUiServices& ui = host_.ui();
    const auto path = ui.ChooseOpenFile(kPlanPictureFilter, "New Floor Plan from Image", "");
    if (!path || path->empty())
        return;
    CPlanPicture picture = LoadPlanPicture(*path);
    if (picture.image.isNull()) {
        ui.MessageBox(picture.error, "Invalid File", MsgIcon::Error);
        return;
    }
    if (picture.scaledDown)
        ui.MessageBox(Format("The %d x %d picture is larger than a plan holds. It is used at %d x "
                             "%d pixels.",
                             picture.original.width(), picture.original.height(),
                             picture.image.width(), picture.image.height()),
                      "New Floor Plan", MsgIcon::Information);
    picture_ = std::move(picture);
    picturePath_ = *path;
    mapView_.StartPlanCalibration(picture_.image,
                                  [this](QPointF a, QPointF b) { OnLineDrawn(a, b); });
}

void CImportCommands::OnLineDrawn(QPointF first, QPointF second) {
    IUiServices& ui = host_.ui();
    const double dx = second.x() - first.x(), dy = second.y() - first.y();
    CPlanLengthText fields;
    fields.pixels = Format("%.1f pixels", std::sqrt(dx * dx + dy * dy));
    fields.unit = host_.doc().UseFeet ? "ft" : "m";
    std::optional<double> scale;
    while (!scale) {
        // Cancel goes back to the picture for another line.
        if (!host_.dialogs().EditPlanLength(fields))
            return;
        const auto length = ParseDecimal(fields.length, true);
        const LengthUnit unit = fields.unit == "ft" ? LengthUnit::Feet : LengthUnit::Metres;
        std::string error;
        scale = ScaleFromCalibration(first.x(), first.y(), second.x(), second.y(),
                                     length.value_or(0.0), unit, &error);
        if (!scale) {
            ui.MessageBox("Please type the real length of the line, a number above 0.",
                          "Invalid Length", MsgIcon::Error);
            continue;
        }
        const double widthM = picture_.image.width() * *scale;
        const double heightM = picture_.image.height() * *scale;
        if (std::max(widthM, heightM) > kLargePlanMetres &&
            ui.MessageBox(Format("With this length the plan is %.0f x %.0f m, more than 2 km "
                                 "across. Keep this scale?",
                                 widthM, heightM),
                          "New Floor Plan", MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            scale.reset();
    }
    const auto path =
        ui.ChooseSaveFile(kPlanFilter, "Save the floor plan", WithExtension(picturePath_, ".lpf"));
    if (!path || path->empty())
        return;
    if (SameFile(*path, picturePath_)) {
        ui.MessageBox("The plan cannot replace its own picture. Please choose another name.",
                      kSaveErrorTitle, MsgIcon::Error);
        return;
    }
    const std::vector<std::uint8_t> bytes = EncodeFloorPlan(
        picture_.image.width(), picture_.image.height(), RgbRows(picture_.image), *scale, *scale);
    CWriteFailure failure;
    if (bytes.empty() || !WriteFileAtomically(*path, bytes, &failure)) {
        ui.MessageBox(WriteFailureText(*path, failure), kSaveErrorTitle, MsgIcon::Error);
        return;
    }
    mapView_.StopPlanCalibration();
    picture_ = CPlanPicture();
    OpenPlan(*path);
}

void CImportCommands::OpenPlan(const std::string& path) {
    switch (OpenProjectionPath(host_.doc(), path, host_.ui())) {
    case ProjectionOpenOutcome::Opened:
        host_.setModified(true);
        host_.notify(kChangeView | kChangeSettings);
        break;
    case ProjectionOpenOutcome::ReloadCollection:
        host_.setModified(true);
        host_.notify(kChangeView | kChangeSettings);
        runner_->Load([this](LoadOutcome outcome) {
            CTarvoAnalyzerDoc& doc = host_.doc();
            if (outcome == LoadOutcome::Loaded && doc.linearPointsPresent && !doc.gpsPointsPresent)
                doc.linearCoordinates = true;
        });
        break;
    case ProjectionOpenOutcome::Busy:
        host_.ui().MessageBox("The plan was saved as \"" + path +
                                  "\". Open it once the running operation has ended.",
                              "New Floor Plan", MsgIcon::Information);
        break;
    default:
        break;
    }
}

void CImportCommands::ImportSurveyData() {
    if (host_.isBusy())
        return;
    IUiServices& ui = host_.ui();
    const std::vector<std::string> inputs = ui.ChooseOpenFiles(kDataFilter, kImportTitle, "");
    if (inputs.empty())
        return;
    std::vector<std::string> filesRead;
    std::vector<CImportRead> reads;
    for (const std::string& input : inputs)
        reads.push_back(ReadImportFile(input, std::nullopt, filesRead));

    CWalkOptions options;
    options.skipBad = true; // every refusal is listed before the user decides
    options.importSeconds = static_cast<std::int64_t>(std::time(nullptr));
    // Plan positions go on the study's plan; GPS positions need none.
    if (AnyPlanPosition(reads))
        options.plan = PlanOfStudy(host_.doc());
    const CWalk walk = AssembleWalk(reads, options);
    if (walk.fatal) {
        std::string text = walk.fatal->Text();
        if (!options.plan && AnyPlanPosition(reads))
            text += "\nOpen the floor plan first (Open GPF Files), or make one with File > "
                    "New Floor Plan from Image.";
        ui.MessageBox(text, "Invalid File", MsgIcon::Error);
        return;
    }
    if (!walk.refused.empty() &&
        ui.MessageBox(RefusalsText(walk.refused) + "\nImport the other rows?", kImportTitle,
                      MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;

    const auto out = ui.ChooseSaveFile(kSurveyFilter, "Save the imported walk",
                                       WithExtension(inputs[0], ".ssd"));
    if (!out || out->empty())
        return;
    for (const std::string& read : filesRead)
        if (SameFile(*out, read)) {
            ui.MessageBox("The walk cannot replace a file it is read from. Please choose another "
                          "name.",
                          kSaveErrorTitle, MsgIcon::Error);
            return;
        }
    CWriteFailure failure;
    if (!WriteFileAtomically(*out, WalkFileBytes(walk, options.importSeconds), &failure)) {
        ui.MessageBox(WriteFailureText(*out, failure), kSaveErrorTitle, MsgIcon::Error);
        return;
    }
    // Added as "Open SSD Files" adds a survey; a walk imported again over a
    // listed file is listed once.
    CTarvoAnalyzerDoc& doc = host_.doc();
    bool listed = false;
    for (const CDataFile& file : doc.files)
        listed = listed || file.path == *out;
    if (!listed) {
        CDataFile file;
        file.title = FileNameOf(*out);
        file.path = *out;
        file.selected = 1;
        doc.files.Add(std::move(file));
    }
    doc.processed = false;
    host_.setModified(true);
    host_.notify(kChangeFiles | kChangeView);
}

} // namespace tarvo
